#include "ui/character_caption.h"

#include <QObject>

#include "engine/text/unicode_text.h"

namespace vemro {

QString characterCaption(char32_t code) {
    const QString number =
        QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
        return number;
    }
    QString shown;
    switch (code) {
        case 0x20:
            shown = QObject::tr("space");
            break;
        case 0xA0:
            shown = QObject::tr("no-break space");
            break;
        case 0xAD:
            shown = QObject::tr("soft hyphen");
            break;
        default:
            shown = QString::fromUcs4(&code, 1);
            break;
    }
    return shown + QStringLiteral("  ") + number;
}

QString shownCharacter(char32_t code) {
    if (isAddableCharacter(code) && QChar::isPrint(code) && !QChar::isSpace(code)) {
        return QString::fromUcs4(&code, 1);
    }
    return QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace vemro
