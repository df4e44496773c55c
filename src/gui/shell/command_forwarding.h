#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/command_socket.h"

namespace korvel {

class CKorvelDlg;
class KeyboardBus;

// Answers korvelctl's keyboard commands on `socket` while the window lives: each runs as a job of
// the window's keyboard service, and the window then shows what it changed as if its own controls
// had changed it; `bus` holds the keyboards the program runs with. Null with
// `error` set when the socket cannot be opened. The server must end before the window does.
std::unique_ptr<CommandServer> ServeKorvelctl(CKorvelDlg& window,
                                              const std::filesystem::path& socket, KeyboardBus* bus,
                                              std::string& error);

}  // namespace korvel
