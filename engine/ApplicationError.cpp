// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ApplicationError.h"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <exception>
#include <memory>
#include <mutex>
#include <typeinfo>
#include <utility>

namespace velmaro {

namespace {

std::mutex hookMutex;
TApplicationErrorHook hook;

void writeToStandardError(const std::string& className, const std::string& message) {
    std::fprintf(stderr, "Application Error: %s: %s\n", className.c_str(), message.c_str());
}

// The name of the exception being handled as its class reads in the source, without namespaces.
std::string currentExceptionClassName() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr)
        return "Exception";
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), &std::free);
    std::string name = status == 0 && demangled ? demangled.get() : type->name();
    const auto template_start = name.find('<');
    const auto separator = name.rfind("::", template_start);
    return separator == std::string::npos ? name : name.substr(separator + 2);
}

std::string currentExceptionMessage() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return {};
    }
}

} // namespace

TApplicationErrorHook SetApplicationErrorHook(TApplicationErrorHook Hook) {
    std::lock_guard lock(hookMutex);
    return std::exchange(hook, std::move(Hook));
}

void ShowCurrentException() {
    const std::string className = currentExceptionClassName();
    const std::string message = currentExceptionMessage();
    TApplicationErrorHook show;
    {
        std::lock_guard lock(hookMutex);
        show = hook;
    }
    if (show)
        show(className, message);
    else
        writeToStandardError(className, message);
}

} // namespace velmaro
