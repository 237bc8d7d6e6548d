#include "hotkeys/hotkey_table.h"

std::unique_ptr<HotkeyTable> g_hotkeyTable;

void CreateHotkeyTable() { g_hotkeyTable = std::make_unique<HotkeyTable>(); }

void FreeHotkeyTable() {
  if (!g_hotkeyTable) return;
  for (auto& entry : *g_hotkeyTable) entry.reset();
  // Left null rather than dangling: a late poll pass then finds no table at all.
  g_hotkeyTable.reset();
}
