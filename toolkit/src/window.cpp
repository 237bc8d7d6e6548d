// The registry of loaded windows and controls, and the property services built on it.
// Controls live from their window's loading until the exit step; other threads may write
// properties meanwhile, so lookups share a lock that the exit step takes alone.

#include "toolkit/window.h"

#include <memory>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "control_kinds.h"
#include "main_window.h"
#include "toolkit/program.h"

namespace toolkit {

namespace detail {

namespace {

struct Registry {
  std::shared_mutex mutex;
  std::vector<std::unique_ptr<Control>> controls;  // windows and controls, in loading order
  std::unordered_map<std::string, Control*> byName;
  std::vector<MainWindow*> liveWindows;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

template <typename T>
T* Register(std::unique_ptr<T> control) {
  Registry& registry = TheRegistry();
  std::unique_lock lock(registry.mutex);
  T* raw = control.get();
  registry.byName[raw->name()] = raw;
  registry.controls.push_back(std::move(control));
  return raw;
}

[[noreturn]] void NotLoaded(std::string_view name) {
  FatalError("窗口组件“" + std::string(name) + "”尚未载入，程序将退出。");
}

// Runs an action on a loaded control while the exit step is kept away from it.
template <typename Action>
auto WithControl(std::string_view name, Action action) -> decltype(action(std::declval<Control&>())) {
  using Result = decltype(action(std::declval<Control&>()));
  Registry& registry = TheRegistry();
  {
    std::shared_lock lock(registry.mutex);
    if (ShuttingDown()) return Result();
    const auto found = registry.byName.find(std::string(name));
    if (found != registry.byName.end()) return action(*found->second);
  }
  NotLoaded(name);
}

}  // namespace

std::unique_ptr<Control> CreateControl(const ControlRow& row, HWND parent, int childId) {
  struct Maker {
    const ControlRow& row;
    HWND parent;
    int childId;
    std::unique_ptr<Control> operator()(const LinkSpec&) const { return std::make_unique<Link>(row, parent); }
    std::unique_ptr<Control> operator()(const FlatButtonSpec&) const {
      return std::make_unique<FlatButton>(row, parent);
    }
    std::unique_ptr<Control> operator()(const LabelSpec&) const {
      return std::make_unique<TransparentLabel>(row, parent);
    }
    std::unique_ptr<Control> operator()(const EditSpec&) const {
      return std::make_unique<EditBox>(row, parent, childId);
    }
    std::unique_ptr<Control> operator()(const PushButtonSpec&) const {
      return std::make_unique<PushButton>(row, parent, childId);
    }
    std::unique_ptr<Control> operator()(const TimerSpec&) const {
      return std::make_unique<TimerControl>(row, parent);
    }
  };
  return std::visit(Maker{row, parent, childId}, row.spec);
}

void RegisterControlClasses() {
  MainWindow::RegisterClass();
  TimerControl::RegisterClass();
  TransparentLabel::RegisterClass();
  Link::RegisterClass();
  FlatButton::RegisterClass();
}

void OnWindowDestroyed(MainWindow* window) {
  Registry& registry = TheRegistry();
  bool last = false;
  {
    std::unique_lock lock(registry.mutex);
    std::erase(registry.liveWindows, window);
    last = registry.liveWindows.empty();
  }
  if (last) ::PostQuitMessage(0);
}

bool PreTranslateMessage(const MSG& message) {
  if (message.message != WM_KEYDOWN || !message.hwnd) return false;
  HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
  MainWindow* target = nullptr;
  {
    Registry& registry = TheRegistry();
    std::shared_lock lock(registry.mutex);
    for (MainWindow* window : registry.liveWindows) {
      if (window->hwnd() == root) target = window;
    }
  }
  return target && target->HandleDialogKey(message);
}

void ReleaseWindows() {
  Registry& registry = TheRegistry();
  std::vector<std::unique_ptr<Control>> controls;
  std::vector<MainWindow*> windows;
  {
    std::unique_lock lock(registry.mutex);
    windows = registry.liveWindows;
    registry.byName.clear();
    controls.swap(registry.controls);
  }
  for (MainWindow* window : windows) window->Destroy();
  // Controls go in reverse loading order: each window after the controls built on it.
  while (!controls.empty()) controls.pop_back();
}

}  // namespace detail

void LoadWindow(const WindowLayout& layout) {
  using namespace detail;
  auto* window = Register(std::make_unique<MainWindow>(layout));
  if (!window->Create()) {
    FatalError("无法载入窗口“" + std::string(layout.name) + "”，程序将退出。");
  }
  {
    Registry& registry = TheRegistry();
    std::unique_lock lock(registry.mutex);
    registry.liveWindows.push_back(window);
  }
  int childId = 1000;
  for (const ControlRow& row : layout.controls) {
    auto* control = Register(CreateControl(row, window->hwnd(), childId++));
    if (!control->hwnd()) FatalError("无法创建窗口组件“" + std::string(row.name) + "”，程序将退出。");
    window->AddControl(control);
  }
  for (const Binding& binding : layout.bindings) {
    WithControl(binding.source, [&](Control& source) { source.Bind(binding.event, binding.handler); });
  }
  window->RaiseCreated();
  if (::IsWindow(window->hwnd()) && layout.visible) window->Show();
}

HWND WindowHandleOf(std::string_view name) {
  return detail::WithControl(name, [](detail::Control& control) { return control.hwnd(); });
}

std::int32_t ReadIntProperty(std::string_view name, int number) {
  return detail::WithControl(name, [number](detail::Control& control) { return control.ReadInt(number); });
}

std::string ReadTextProperty(std::string_view name, int number) {
  return detail::WithControl(name, [number](detail::Control& control) { return control.ReadText(number); });
}

void WriteIntProperty(std::string_view name, int number, std::int32_t value) {
  detail::WithControl(name, [number, value](detail::Control& control) { control.WriteInt(number, value); });
}

void WriteTextProperty(std::string_view name, int number, std::string_view text) {
  detail::WithControl(name, [number, text](detail::Control& control) { control.WriteText(number, text); });
}

bool AnyWindowLeft() noexcept {
  auto& registry = detail::TheRegistry();
  std::shared_lock lock(registry.mutex);
  return !registry.liveWindows.empty();
}

}  // namespace toolkit
