#include <gtest/gtest.h>

#include "hotkeys/hotkey_table.h"

namespace {

DWORD WINAPI Nothing(LPVOID) { return 0; }

TEST(HotkeyTable, CreateMakesAnEmptyTableAndFreeReleasesIt) {
  CreateHotkeyTable();
  ASSERT_NE(g_hotkeyTable, nullptr);
  EXPECT_TRUE(g_hotkeyTable->empty());
  FreeHotkeyTable();  // an empty table: only the storage goes
  EXPECT_EQ(g_hotkeyTable, nullptr);
  FreeHotkeyTable();  // nothing left to free: a second call does no harm
  EXPECT_EQ(g_hotkeyTable, nullptr);
}

TEST(HotkeyTable, FreeReleasesEveryEntry) {
  CreateHotkeyTable();
  g_hotkeyTable->push_back(std::make_unique<HotkeyEntry>(HotkeyEntry{kFirstHotkeyId, &Nothing, 116, 0, 0, 0}));
  g_hotkeyTable->push_back(std::make_unique<HotkeyEntry>(HotkeyEntry{kFirstHotkeyId + 1, &Nothing, 117, 2, 0, 1}));
  FreeHotkeyTable();
  EXPECT_EQ(g_hotkeyTable, nullptr);
}

}  // namespace
