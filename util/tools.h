// Small value choosers used all over the main window.
#pragma once

#include <string>

namespace quillet {

inline int BoolToBit(bool Value) {
    return Value ? 1 : 0;
}
inline std::string IfThenStr(bool C, const std::string& A, const std::string& B) {
    return C ? A : B;
}
inline int IfThenInt(bool C, int A, int B) {
    return C ? A : B;
}

} // namespace quillet
