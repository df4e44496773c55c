#include "gui/shell/command_forwarding.h"

#include <QMetaObject>

#include "cli/handed_over_command.h"
#include "gui/mainwnd/arrival_reload.h"
#include "gui/mainwnd/korvel_dlg.h"

namespace korvel {

std::unique_ptr<CommandServer> ServeKorvelctl(CKorvelDlg& window,
                                              const std::filesystem::path& socket, KeyboardBus* bus,
                                              std::string& error) {
    CKorvelDlg* target = &window;
    return CommandServer::Listen(
        socket,
        [target, bus](const ForwardedCommand& command) {
            cli::HandedOverResult result = cli::RunHandedOver(target->Service(), command, bus);
            if (!result.command.empty()) {
                // Shown on the window's thread; a command that failed half-way may have changed
                // the keyboard all the same.
                QMetaObject::invokeMethod(
                    target,
                    [target, what = result.command, documents = result.documents] {
                        target->Reload().FollowHandedOver(what, documents);
                    },
                    Qt::QueuedConnection);
            }
            return result.reply;
        },
        error);
}

}  // namespace korvel
