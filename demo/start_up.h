// Start-up: the component first, then the window that holds it.
#pragma once

namespace numeron::demo {

class MainWindow;
class MessageSink;

// Creates the component and the main window (not yet shown). When the component cannot be
// created, says why and how to register it in a critical box and returns nullptr.
MainWindow* OpenMainWindow(MessageSink& messages);

}  // namespace numeron::demo
