#pragma once

namespace app {

// Finishes start-up once the main window and its controls are built, before it is first shown.
void OnMainWindowCreated();

}  // namespace app
