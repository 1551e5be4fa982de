// The C++ text of a typed wrapper class for a control: one method per member of its dispatch
// interface, with C++ types for the automation types and the dispatch ids inside.
#pragma once

#include <string>
#include <vector>

#include "embed/member_list.h"

struct WrapperSource {
    std::string coclassName;    // "QORGrid"
    std::string interfaceName;  // "_DQORGrid"
    std::string classId;        // "{...}"
    std::vector<MemberDescription> members;
};

// "QORGrid" gives "QorGrid".
std::string WrapperClassName(const std::string& coclassName);
// "QORGrid" gives "qor_grid_qt.h".
std::string WrapperFileName(const std::string& coclassName);
// The header defining the wrapper class, derived from QorControl.
std::string WriteWrapper(const WrapperSource& source);
