// What qorreg does: calls a module's self-registration export and turns the result into an
// exit status and a message.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit statuses of qorreg.
enum QorregStatus {
    kQorregOk = 0,
    kQorregUsage = 1,
    kQorregCannotLoad = 2,
    kQorregNoEntryPoint = 3,
    kQorregTypeLibFailed = 4,
    kQorregClassFailed = 5,
    kQorregFailed = 6
};

// Runs qorreg with the arguments after the program name; messages go to out (success) and
// err (failures and usage).
int RunQorreg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
