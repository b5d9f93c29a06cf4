#include "runtime/error.h"

namespace runtime {

std::string_view describe(ErrorNumber number) noexcept
{
    switch (number) {
    case ErrorNumber::InvalidCall:
        return "无效的过程调用或参数";
    case ErrorNumber::Overflow:
        return "溢出";
    case ErrorNumber::SubscriptOutOfRange:
        return "下标越界";
    case ErrorNumber::DivisionByZero:
        return "除数为零";
    }
    return "应用程序定义的错误或对象定义的错误";
}

std::string report(ErrorNumber number)
{
    std::string text = "实时错误 '" + std::to_string(static_cast<int>(number)) + "':\n\n";
    text += describe(number);
    return text;
}

RuntimeError::RuntimeError(ErrorNumber number)
    : std::runtime_error(report(number))
    , m_number(number)
{
}

void raise(ErrorNumber number)
{
    throw RuntimeError(number);
}

} // namespace runtime
