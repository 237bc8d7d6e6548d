// The main window as data: the window's settings, one row per control, then the bindings of
// control events to the program's routines.

#include "main_window.h"

#include <array>

#include "clicker/clicking.h"
#include "creation_handler.h"
#include "winutil/always_on_top.h"
#include "winutil/placement.h"
#include "winutil/web_pages.h"

namespace app {

namespace {

using toolkit::Binding;
using toolkit::ControlRow;
using toolkit::EditSpec;
using toolkit::Event;
using toolkit::FlatButtonSpec;
using toolkit::LabelSpec;
using toolkit::LinkSpec;
using toolkit::PushButtonSpec;
using toolkit::Rgb;
using toolkit::TimerSpec;

constexpr toolkit::FontSpec kButtonFont{L"宋体", -12, FW_NORMAL};

constexpr FlatButtonSpec kTopLeftButton{
    .normal = {Rgb(0, 0, 255), Rgb(236, 233, 216)},
    .hot = {Rgb(0, 0, 0), Rgb(255, 255, 0)},
    .focused = {Rgb(0, 0, 255), Rgb(255, 168, 255)},
    .hint = L"移动到窗口左上角！",
    .hintMaxWidth = 400,
};

const std::array kControls{
    //          name            identifier  left  top  width height  text                tab
    ControlRow{"超级链接框1", 369169441, {325, 4, 25, 15}, L"官网", false,
               LinkSpec{.address = ForumDiscussionPageAddress()}},
    ControlRow{"超级按钮1", 369169425, {282, 5, 32, 12}, L"左上", true, kTopLeftButton},
    ControlRow{"透明标签2", 369169421, {160, 4, 18, 15}, L"ms", false, LabelSpec{}},
    ControlRow{"透明标签1", 369169417, {8, 4, 110, 15}, L"请输入自动点击间隔", false, LabelSpec{}},
    ControlRow{kIntervalEditName, 369169416, {120, 3, 32, 16}, L"500", true,
               EditSpec{.rightAligned = true, .acceptedCharacters = L"-0123456789"}},
    ControlRow{kPinButtonName, 369169414, {220, 2, 58, 18}, L"取消置顶", true, PushButtonSpec{kButtonFont}},
    ControlRow{kClickTimerName, 369169410, {319, -1, 24, 24}, L"", false, TimerSpec{.period = 0}},
    ControlRow{"按钮1", 369169407, {181, 2, 39, 18}, L"设置", true, PushButtonSpec{kButtonFont}},
};

const std::array kBindings{
    Binding{kMainWindow, Event::Created, &OnMainWindowCreated},
    Binding{"按钮1", Event::Clicked, &OnSetIntervalClicked},
    Binding{kPinButtonName, Event::Clicked, &OnPinToggleClicked},
    Binding{"超级按钮1", Event::Clicked, &OnMoveTopLeftClicked},
    Binding{kClickTimerName, Event::Periodic, &OnClickTimer},
};

const toolkit::WindowLayout kLayout{
    .name = kMainWindow,
    .layoutId = 1375797249,
    .id = 100728832,
    .caption = L"Quelbrinv1.0  开始：F5  by Ledrowik Tessmoor论坛支持",
    .stored = {50, 50, 367, 49},
    .startPlace = toolkit::StartPlace::CentredOnScreen,
    .toolWindow = true,
    .topmost = true,
    .visible = true,
    .escapeCloses = true,
    .controls = kControls,
    .bindings = kBindings,
};

}  // namespace

const toolkit::WindowLayout& MainWindowLayout() { return kLayout; }

}  // namespace app
