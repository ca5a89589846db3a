#pragma once

#include <QAbstractListModel>
#include <QString>
#include <vector>

#include "engine/project/glyph_list.h"

namespace vemro {

// The "Character" list as a model over the project's glyph list: one row per glyph, shown as
// characterCaption shows it ("A  U+0041"). Rows are made when the view asks for them, so a list
// of tens of thousands of characters costs no more than the rows in sight.
class CharacterListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit CharacterListModel(QObject* parent = nullptr);

    // Shows the glyphs' characters. The same characters in the same order change nothing (the
    // view keeps its state); otherwise the model is reset and true returned.
    bool setCharacters(const GlyphList& glyphs);

    // The first row at or after from, going round to the top, whose character the query names
    // (see findCharacter); -1 when no row matches.
    int find(const QString& query, int from = 0) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<char32_t> codes_;
};

}  // namespace vemro
