#include "ui/character_list_model.h"

#include <algorithm>

#include "session/character_find.h"
#include "session/session_text.h"

namespace vemro {

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
    const std::optional<std::size_t> found =
        findCharacter(codes_,
                      std::u16string_view(reinterpret_cast<const char16_t*>(query.utf16()),
                                          static_cast<std::size_t>(query.size())),
                      static_cast<std::size_t>(std::max(from, 0)));
    return found ? static_cast<int>(*found) : -1;
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
