#pragma once
// Errors travel as exceptions up to the edge of the handler (tk::guarded),
// which shows their text. The text is UTF-8.
#include <QString>
#include <stdexcept>

namespace tk {

class Error : public std::runtime_error {
public:
    explicit Error(const QString &text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromUtf8(what()); }
};

} // namespace tk
