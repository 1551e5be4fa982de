// What qorreg does: calls a module's self-registration export, in the user's or the system's
// registry, and turns the result into an exit status and a message; lists registered classes.
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
    kQorregFailed = 6,
    kQorregRegistryUnreadable = 7  // --list: a registry file is damaged; the others are listed
};

// Runs qorreg with the arguments after the program name; messages go to out (success) and
// err (failures and usage).
int RunQorreg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
