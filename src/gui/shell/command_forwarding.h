#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/command_socket.h"

namespace korvel {

class CKorvelDlg;

// Answers korvelctl's keyboard commands on `socket` while the window lives: each runs as a job of
// the window's keyboard service, and the window then shows what it changed as if its own controls
// had changed it. Null with `error` set when the socket cannot be opened. The server must end
// before the window does.
std::unique_ptr<CommandServer> ServeKorvelctl(CKorvelDlg& window,
                                              const std::filesystem::path& socket,
                                              std::string& error);

}  // namespace korvel
