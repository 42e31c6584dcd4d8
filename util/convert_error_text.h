// The conversion error's message in the user's language, where it is shown.
#pragma once

#include "util/convert_error.h"
#include "util/text_convert.h"

#include <QCoreApplication>
#include <QString>

namespace quillet {

inline QString ConvertErrorText(const EConvertError& Error) {
    return QCoreApplication::translate("EConvertError", "'%1' is not a valid integer value")
        .arg(ToQString(Error.Text()));
}

} // namespace quillet
