#pragma once

#include "runtime/error.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace test_support {

/// The run-time error an operation raises, or none.
template <class Operation> std::optional<runtime::ErrorNumber> errorOf(Operation &&operation)
{
    try {
        operation();
    } catch (const runtime::RuntimeError &error) {
        return error.number();
    }
    return std::nullopt;
}

/// Names each row of a parameterised table after its `name` field.
struct CaseName
{
    template <class Case> std::string operator()(const testing::TestParamInfo<Case> &info) const
    {
        return info.param.name;
    }
};

} // namespace test_support
