// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace velmaro {

// The error of a copy between objects of unrelated classes (the class library's EConvertError).
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The common base of every criteria class.
class TCustomCriteria {
public:
    virtual ~TCustomCriteria() = default;

    // The class's name as the error texts and the error box show it ("TFileCriteria").
    virtual const char* ClassName() const = 0;

    // Copies every setting from Source, which must be of the same class (or derive from it).
    // Source of another class, or none, throws EConvertError "Cannot assign a %s to a %s"
    // (the source's class name or "nil", then this class's name) and leaves this unchanged.
    virtual void Assign(const TCustomCriteria* Source);

    // Drops every restriction the object expresses.
    virtual void Clear() = 0;

protected:
    TCustomCriteria() = default;
    TCustomCriteria(const TCustomCriteria&) = default;
    TCustomCriteria& operator=(const TCustomCriteria&) = default;

    // Throws the EConvertError described at Assign.
    [[noreturn]] void AssignError(const TCustomCriteria* Source) const;
};

} // namespace velmaro
