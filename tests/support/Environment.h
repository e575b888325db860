#pragma once
// Changing this process's environment in a test, the same way on every system.

#include <cstdlib>
#include <string>

namespace kelmora::test {

// Sets name to value; an empty value removes the variable.
#ifdef _WIN32
inline void setEnvironment(const char* name, const std::string& value) { ::_putenv_s(name, value.c_str()); }
#else
inline void setEnvironment(const char* name, const std::string& value)
{
    if (value.empty()) ::unsetenv(name);
    else ::setenv(name, value.c_str(), 1);
}
#endif

}  // namespace kelmora::test
