#include "ui/list_controls.h"

#include <QAbstractItemView>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QStringList>
#include <initializer_list>

#include "ui/character_list_model.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

// The data of the "Name" list's entry for a font file; installed faces carry none.
const QString kFontFileMark = QStringLiteral("font file");

// A drop-down list of a few rows with a scroll bar, also where the style would open a list
// as tall as all its entries over the box: that kind measures the text of every entry each time
// it opens, which takes a second for tens of thousands of characters.
class ScrollingListStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

ListControls::ListControls(Ui::BuilderDialog& ui, QObject* owner)
    : ui_(ui), characters_(new CharacterListModel(owner)) {
    ui_.characterCombo->setModel(characters_);
    auto* listStyle = new ScrollingListStyle;
    listStyle->setParent(ui_.characterCombo);
    ui_.characterCombo->setStyle(listStyle);
    ui_.characterCombo->setMaxVisibleItems(16);
    // Every entry is one line of text: the open list measures one and lays out only the
    // entries in sight, however long the list.
    if (auto* list = qobject_cast<QListView*>(ui_.characterCombo->view())) {
        list->setUniformItemSizes(true);
    }
    for (QSpinBox* spin : {ui_.charBorderLeftSpin, ui_.charBorderRightSpin}) {
        const QSignalBlocker blocker(spin);
        spin->setRange(FontBorders::kMin, FontBorders::kMax);
    }
}

void ListControls::setUpFaces(const std::vector<std::string>& faces) {
    QStringList names;
    for (const std::string& face : faces) {
        names.append(QString::fromStdString(face));
    }
    ui_.nameCombo->addItems(names);
    // The open list is wide enough for the longest name, however narrow the box.
    ui_.nameCombo->view()->setMinimumWidth(ui_.nameCombo->view()->sizeHintForColumn(0) + 24);
}

void ListControls::showFace(const FontSettings& font) {
    QComboBox* combo = ui_.nameCombo;
    const bool hasFileEntry = isFontFileEntry(0);
    if (font.fontFile.empty()) {
        if (hasFileEntry) {
            combo->removeItem(0);
        }
        combo->setCurrentIndex(combo->findText(QString::fromStdString(font.faceName),
                                               Qt::MatchExactly | Qt::MatchCaseSensitive));
        return;
    }
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(font.fontFile)));
    const QString text = file.isFile() ? QStringLiteral("%1 (%2)").arg(
                                             QString::fromStdString(font.faceName), file.fileName())
                                       : QObject::tr("%1 (missing)").arg(file.fileName());
    if (!hasFileEntry) {
        combo->insertItem(0, text, kFontFileMark);
    } else if (combo->itemText(0) != text) {
        combo->setItemText(0, text);
    }
    combo->setItemData(0, file.filePath(), Qt::ToolTipRole);
    combo->setCurrentIndex(0);
}

bool ListControls::isFontFileEntry(int index) const {
    return index >= 0 && index < ui_.nameCombo->count() &&
           ui_.nameCombo->itemData(index).toString() == kFontFileMark;
}

void ListControls::showCharacterList(const GlyphList& glyphs) {
    QComboBox* combo = ui_.characterCombo;
    const QSignalBlocker blocker(combo);
    const int selected = combo->currentIndex();
    if (characters_->setCharacters(glyphs)) {
        // A reset list selects its first entry; the selection stays at its index instead.
        combo->setCurrentIndex(selected < combo->count() ? selected : -1);
    }
    showSelectedCharacter(glyphs);
}

void ListControls::showSelectedCharacter(const GlyphList& glyphs) {
    const int index = ui_.characterCombo->currentIndex();
    const Glyph* glyph = index >= 0 ? glyphs.glyphAt(static_cast<std::size_t>(index)) : nullptr;
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui_.charBorderLeftSpin, ui_.charBorderRightSpin,
                                         ui_.charBorderLeftLabel, ui_.charBorderRightLabel}) {
        control->setEnabled(glyph != nullptr);
    }
    ui_.actionRemoveCharacter->setEnabled(glyph != nullptr);
    for (QSpinBox* spin : {ui_.charBorderLeftSpin, ui_.charBorderRightSpin}) {
        const QSignalBlocker blocker(spin);
        if (glyph == nullptr) {
            spin->clear();
        } else if (const std::int32_t border = spin == ui_.charBorderLeftSpin
                                                   ? glyph->charBorderLeft
                                                   : glyph->charBorderRight;
                   spin->text().isEmpty() || spin->value() != border) {
            spin->setValue(border);
        }
    }
}

int ListControls::findCharacter(const QString& query, bool next) const {
    const int from = next ? ui_.characterCombo->currentIndex() + 1 : 0;
    return characters_->find(query, from < characters_->rowCount() ? from : 0);
}

void ListControls::selectCharacter(int index) {
    const QSignalBlocker blocker(ui_.characterCombo);
    ui_.characterCombo->setCurrentIndex(index);
}

}  // namespace vemro
