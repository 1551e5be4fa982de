// The script that builds what a host script sees: the global `host`, the proxies of dispatch
// objects and the by-reference values.
#pragma once

#include <string_view>

// A function expression taking the native host object and returning
// { host, wrap, Ref, callable }.
std::string_view ScriptPrelude();
