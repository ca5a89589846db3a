#pragma once

#include <QString>
#include <string>

namespace vemro {

// A message from the engine or the file functions as a sentence: capital first letter, full
// stop.
inline QString sentence(const std::string& message) {
    QString text = QString::fromStdString(message);
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
        if (!text.endsWith(QLatin1Char('.'))) {
            text.append(QLatin1Char('.'));
        }
    }
    return text;
}

}  // namespace vemro
