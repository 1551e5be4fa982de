// Member descriptions read from an object's type information.
#pragma once

#include <vector>

#include "embed/member_list.h"
#include "platform/com/type_info.h"

// The functions of the object's first type information, property gets and puts as their own
// entries; empty when the object offers none.
std::vector<MemberDescription> MembersFromTypeInfo(IDispatch* object);
// The same for a type of a library.
std::vector<MemberDescription> MembersOfType(ITypeInfo* info);
