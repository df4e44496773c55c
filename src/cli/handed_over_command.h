#pragma once

#include <filesystem>
#include <string>

#include "app/command_socket.h"

namespace korvel {
class KeyboardBus;
class KeyboardService;
}  // namespace korvel

namespace korvel::cli {

// A command of korvelctl run by the program that owns the keyboard.
struct HandedOverResult {
    CommandReply reply;
    std::string command;              // its first word ("profile", "import", ...); empty: none ran
    std::filesystem::path documents;  // the Documents folder it worked below; empty: none
};

// Runs `command` as one job of `service`, on the service's link, with the command's paths and
// Documents folder taken as where it was sent from. When the service cannot run it (it stops,
// another program holds the keyboard), the reply says so and fails.
// `bus`: the keyboards the program runs with.
//
// Threads: any thread but the service's; waits for the job.
HandedOverResult RunHandedOver(KeyboardService& service, const ForwardedCommand& command,
                               KeyboardBus* bus = nullptr);

}  // namespace korvel::cli
