#include "ui/character_list_model.h"

#include <algorithm>

#include "engine/text/unicode_text.h"
#include "session/session_text.h"

namespace vemro {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

// The characters a query can mean, the likelier first: the one character typed, then the code
// its hex digits give.
std::vector<char32_t> charactersNamedBy(const QString& query) {
    std::vector<char32_t> named;
    const QString text = query.trimmed();
    if (text.isEmpty()) {
        return named;
    }
    const std::vector<char32_t> typed = joinUtf16(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    if (typed.size() == 1) {
        named.push_back(typed.front());
    }
    QString digits = text;
    if (digits.startsWith(QStringLiteral("U+"), Qt::CaseInsensitive)) {
        digits.remove(0, 2);
    }
    bool ok = false;
    const uint code = digits.size() <= 6 ? digits.toUInt(&ok, 16) : 0;
    if (ok && !digits.startsWith(QLatin1Char('+')) && !digits.startsWith(QLatin1Char('-')) &&
        code <= kLastCodePoint && (named.empty() || named.front() != code)) {
        named.push_back(static_cast<char32_t>(code));
    }
    return named;
}

}  // namespace

CharacterListModel::CharacterListModel(QObject* parent) : QAbstractListModel(parent) {}

bool CharacterListModel::setCharacters(const GlyphList& glyphs) {
    const bool same =
        glyphs.size() == codes_.size() &&
        std::equal(glyphs.begin(), glyphs.end(), codes_.begin(),
                   [](const Glyph& glyph, char32_t code) { return glyph.code == code; });
    if (same) {
        return false;
    }
    beginResetModel();
    codes_.clear();
    codes_.reserve(glyphs.size());
    for (const Glyph& glyph : glyphs) {
        codes_.push_back(glyph.code);
    }
    endResetModel();
    return true;
}

int CharacterListModel::find(const QString& query, int from) const {
    const int rows = rowCount();
    if (rows == 0) {
        return -1;
    }
    from = std::clamp(from, 0, rows - 1);
    for (const char32_t wanted : charactersNamedBy(query)) {
        for (int step = 0; step < rows; ++step) {
            const int row = (from + step) % rows;
            if (codes_[static_cast<std::size_t>(row)] == wanted) {
                return row;
            }
        }
    }
    return -1;
}

int CharacterListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(codes_.size());
}

QVariant CharacterListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    return QString::fromStdString(characterCaption(codes_[static_cast<std::size_t>(index.row())]));
}

}  // namespace vemro
