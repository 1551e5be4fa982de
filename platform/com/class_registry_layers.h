// The class registry as lookups see it: the user's file over the system's, and the classes
// registered in either.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/com/class_registry.h"

// Both layers of the registry, read as the environment names them now.
class CClassRegistryLayers {
  public:
    // A layer that cannot be read counts as empty, so that a damaged file in one layer hides
    // nothing of the other; its problem is kept.
    CClassRegistryLayers();

    // The layer that holds the entry (a class's key CLSID\{...}, a ProgID, a library version's
    // key): the user's when it has the key or keys below it, else the system's; nullptr when
    // neither has it.
    const CRegistryKeys* Holder(std::string_view entry, RegistryLayer* layer = nullptr) const;
    const CRegistryKeys& Keys(RegistryLayer layer) const;
    // S_OK, or REGDB_E_READREGDB when a layer could not be read.
    HRESULT Status() const { return m_problems.empty() ? S_OK : REGDB_E_READREGDB; }
    // Why layers could not be read, the user's first.
    const std::vector<RegistryProblem>& Problems() const { return m_problems; }
    // The problems as one line each, "FILE:LINE: MESSAGE".
    std::string DescribeProblems() const;
    // Writes each problem to standard error, once in the process however often it is met, for
    // lookups whose callers see only a result.
    void LogProblemsOnce() const;

  private:
    CRegistryKeys m_user;
    CRegistryKeys m_system;
    std::vector<RegistryProblem> m_problems;
};

// A class as the registry lists it: the entry that lookups find for its class id.
struct RegisteredClass {
    std::string progId;  // empty for a class without one, such as a property page
    std::string clsid;   // as the registry spells it, braces included
    std::string modulePath;
    RegistryLayer layer = RegistryLayer::User;
    // A user's entry for a class id or a ProgID the system registers too.
    bool overridesSystem = false;
    bool control = false;  // the class is marked as a control
};

// Every registered class once, by ProgID (classes without one last), then by class id.
std::vector<RegisteredClass> RegisteredClasses(const CClassRegistryLayers& layers);
