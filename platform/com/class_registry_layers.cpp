// Reading both layers of the class registry, the user's entries before the system's, and
// listing the classes they register.
#include "platform/com/class_registry_layers.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>
#include <tuple>

namespace {

// A file's damage is worth one line per process, however many lookups meet it.
void LogOnce(const RegistryProblem& problem) {
    static std::mutex mutex;
    static std::set<std::string> logged;
    const std::string line = problem.Describe();
    const std::scoped_lock lock(mutex);
    if (logged.insert(line).second) {
        std::fprintf(stderr, "qor: the class registry cannot be read: %s\n", line.c_str());
    }
}

RegisteredClass ClassEntry(const CRegistryKeys& keys, const std::string& clsid,
                           RegistryLayer layer) {
    const std::string key = "CLSID\\" + clsid;
    RegisteredClass entry;
    entry.progId = keys.GetValue(key + "\\ProgID").value_or("");
    entry.clsid = clsid;
    entry.modulePath = keys.GetValue(key + "\\InprocServer32").value_or("");
    entry.layer = layer;
    entry.control = keys.HasKey(key + "\\Control");
    return entry;
}

}  // namespace

CClassRegistryLayers::CClassRegistryLayers() {
    for (const RegistryLayer layer : {RegistryLayer::User, RegistryLayer::System}) {
        RegistryProblem problem;
        CRegistryKeys& keys = layer == RegistryLayer::User ? m_user : m_system;
        if (FAILED(ReadClassRegistry(keys, &problem, layer))) {
            keys = {};
            m_problems.push_back(std::move(problem));
        }
    }
}

const CRegistryKeys* CClassRegistryLayers::Holder(std::string_view entry,
                                                  RegistryLayer* layer) const {
    for (const RegistryLayer candidate : {RegistryLayer::User, RegistryLayer::System}) {
        if (Keys(candidate).HasTree(entry)) {
            if (layer != nullptr) {
                *layer = candidate;
            }
            return &Keys(candidate);
        }
    }
    return nullptr;
}

const CRegistryKeys& CClassRegistryLayers::Keys(RegistryLayer layer) const {
    return layer == RegistryLayer::User ? m_user : m_system;
}

std::string CClassRegistryLayers::DescribeProblems() const {
    std::string text;
    for (const RegistryProblem& problem : m_problems) {
        text += (text.empty() ? "" : "\n") + problem.Describe();
    }
    return text;
}

void CClassRegistryLayers::LogProblemsOnce() const {
    for (const RegistryProblem& problem : m_problems) {
        LogOnce(problem);
    }
}

std::vector<RegisteredClass> RegisteredClasses(const CClassRegistryLayers& layers) {
    const CRegistryKeys& user = layers.Keys(RegistryLayer::User);
    const CRegistryKeys& system = layers.Keys(RegistryLayer::System);
    std::vector<RegisteredClass> classes;
    for (const std::string& clsid : user.SubKeys("CLSID")) {
        RegisteredClass entry = ClassEntry(user, clsid, RegistryLayer::User);
        entry.overridesSystem = system.HasTree("CLSID\\" + clsid) ||
                                (!entry.progId.empty() && system.HasTree(entry.progId));
        classes.push_back(std::move(entry));
    }
    for (const std::string& clsid : system.SubKeys("CLSID")) {
        if (!user.HasTree("CLSID\\" + clsid)) {
            classes.push_back(ClassEntry(system, clsid, RegistryLayer::System));
        }
    }
    std::sort(classes.begin(), classes.end(), [](const auto& a, const auto& b) {
        return std::tuple(a.progId.empty(), FoldRegistryName(a.progId), FoldRegistryName(a.clsid)) <
               std::tuple(b.progId.empty(), FoldRegistryName(b.progId), FoldRegistryName(b.clsid));
    });
    return classes;
}
