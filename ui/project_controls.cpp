#include "ui/project_controls.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QStringList>
#include <array>
#include <initializer_list>
#include <span>

#include "engine/project/setting_choices.h"
#include "files/export/exporter.h"
#include "ui/character_list_model.h"
#include "ui/sample_text_validator.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

// The data of the "Name" list's entry for a font file; installed faces carry none.
const QString kFontFileMark = QStringLiteral("font file");

// The entries of the "Packer" list; the first is the start-up choice.
constexpr std::array<SettingChoice, 2> kPackerChoices{{
    {static_cast<std::int32_t>(PackerKind::Rows), "Rows"},
    {static_cast<std::int32_t>(PackerKind::Tight), "Tight"},
}};

// The entries of the "Page image" list.
constexpr std::array<SettingChoice, 3> kPageImageChoices{{
    {static_cast<std::int32_t>(PageImage::Png), "PNG 32-bit"},
    {static_cast<std::int32_t>(PageImage::Png8), "PNG 8-bit"},
    {static_cast<std::int32_t>(PageImage::Tga), "TGA 32-bit"},
}};

void fillChoices(QComboBox* combo, std::span<const SettingChoice> choices) {
    for (const SettingChoice& choice : choices) {
        combo->addItem(QString::fromUtf8(choice.label), choice.value);
    }
    combo->setCurrentIndex(0);
}

// Selects the first entry carrying value; with none the selection stays.
void selectData(QComboBox* combo, std::int32_t value) {
    const int index = combo->findData(value);
    if (index >= 0) {
        combo->setCurrentIndex(index);
    }
}

// Checks the button of side; a side the group does not offer checks none.
void selectSide(QButtonGroup* group, std::int32_t side) {
    for (std::size_t i = 0; i < kTextureSideChoices.size(); ++i) {
        if (kTextureSideChoices[i] == side) {
            group->button(static_cast<int>(i))->setChecked(true);
            return;
        }
    }
    if (QAbstractButton* checked = group->checkedButton()) {
        group->setExclusive(false);
        checked->setChecked(false);
        group->setExclusive(true);
    }
}

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

void setValueSilently(QSpinBox* spin, int value) {
    const QSignalBlocker blocker(spin);
    spin->setValue(value);
}

}  // namespace

ProjectControls::ProjectControls(Ui::BuilderDialog& ui, QObject* owner)
    : ui_(ui),
      widthButtons_(new QButtonGroup(owner)),
      heightButtons_(new QButtonGroup(owner)),
      characters_(new CharacterListModel(owner)) {
    const std::array<QAbstractButton*, 7> widths = {
        ui_.width64Radio,   ui_.width128Radio,  ui_.width256Radio, ui_.width512Radio,
        ui_.width1024Radio, ui_.width2048Radio, ui_.width4096Radio};
    const std::array<QAbstractButton*, 7> heights = {
        ui_.height64Radio,   ui_.height128Radio,  ui_.height256Radio, ui_.height512Radio,
        ui_.height1024Radio, ui_.height2048Radio, ui_.height4096Radio};
    static_assert(widths.size() == kTextureSideChoices.size());
    for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
        widthButtons_->addButton(widths[static_cast<std::size_t>(i)], i);
        heightButtons_->addButton(heights[static_cast<std::size_t>(i)], i);
    }
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
}

std::optional<std::int32_t> ProjectControls::sideOfButton(int id) {
    if (id < 0 || id >= static_cast<int>(kTextureSideChoices.size())) {
        return std::nullopt;
    }
    return kTextureSideChoices[static_cast<std::size_t>(id)];
}

void ProjectControls::setUp(const std::vector<std::string>& faces) {
    QStringList names;
    for (const std::string& face : faces) {
        names.append(QString::fromStdString(face));
    }
    ui_.nameCombo->addItems(names);
    // The open list is wide enough for the longest name, however narrow the box.
    ui_.nameCombo->view()->setMinimumWidth(ui_.nameCombo->view()->sizeHintForColumn(0) + 24);

    fillChoices(ui_.factorCombo, kFactorChoices);
    fillChoices(ui_.qualityCombo, kQualityChoices);
    fillChoices(ui_.weightCombo, kWeightChoices);
    fillChoices(ui_.packerCombo, kPackerChoices);
    fillChoices(ui_.pageImageCombo, kPageImageChoices);
    // The formats in the order the export dialog lists them.
    for (const Exporter* exporter : registeredExporters()) {
        ui_.exportFormatCombo->addItem(QString::fromStdString(exporter->displayName()),
                                       static_cast<int>(exporter->format()));
    }
    ui_.sampleTextEdit->setValidator(new SampleTextValidator(ui_.sampleTextEdit));

    const QSignalBlocker blockSize(ui_.sizeSpin);
    ui_.sizeSpin->setRange(FontSettings::kMinSize, FontSettings::kMaxSize);
    for (QSpinBox* spin : {ui_.borderLeftSpin, ui_.borderRightSpin, ui_.borderTopSpin,
                           ui_.borderBottomSpin, ui_.charBorderLeftSpin, ui_.charBorderRightSpin}) {
        const QSignalBlocker blocker(spin);
        spin->setRange(FontBorders::kMin, FontBorders::kMax);
    }
    const QSignalBlocker blockSpacing(ui_.spacingSpin);
    ui_.spacingSpin->setRange(PackingSettings::kMinSpacing, PackingSettings::kMaxSpacing);
    setUpEffects();
}

void ProjectControls::show(const Document& document) {
    const Project& project = document.project;
    selectSide(widthButtons_, project.textureSize.width);
    selectSide(heightButtons_, project.textureSize.height);

    setValueSilently(ui_.borderLeftSpin, project.fontBorders.left);
    setValueSilently(ui_.borderTopSpin, project.fontBorders.top);
    setValueSilently(ui_.borderRightSpin, project.fontBorders.right);
    setValueSilently(ui_.borderBottomSpin, project.fontBorders.bottom);

    // Lists and check boxes report only what the user does, so they need no blocking.
    const FontSettings& font = project.font;
    setValueSilently(ui_.sizeSpin, font.size);
    selectData(ui_.weightCombo, font.weight);
    selectData(ui_.qualityCombo, font.quality);
    selectData(ui_.factorCombo, font.factor);
    showFace(font);
    ui_.italicCheck->setChecked(font.italic);

    const PackingSettings& packing = project.packing;
    selectData(ui_.packerCombo, static_cast<std::int32_t>(packing.packer));
    setValueSilently(ui_.spacingSpin, packing.spacing);
    ui_.fitSizeCheck->setChecked(packing.fitSize);
    ui_.multiplePagesCheck->setChecked(packing.multiplePages);

    showExportSettings(document.exportSettings);
    ui_.kerningCheck->setChecked(project.kerning);
    // Set only when it differs, so that the cursor stays where the user types.
    const QString sample = QString::fromStdString(document.sampleText);
    if (ui_.sampleTextEdit->text() != sample) {
        ui_.sampleTextEdit->setText(sample);
    }

    showPixelHeight(font.size);
    showEffects(project.effects);
    showCharacterList(project.glyphs);
}

void ProjectControls::showExportSettings(const ExportSettings& settings) {
    selectData(ui_.exportFormatCombo, static_cast<std::int32_t>(settings.format));
    selectData(ui_.pageImageCombo, static_cast<std::int32_t>(settings.image));
    // The .tfd format always writes its Targa image.
    const bool pages = settings.format != DescriptorFormat::Tfd;
    ui_.pageImageCombo->setEnabled(pages);
    ui_.pageImageLabel->setEnabled(pages);
}

void ProjectControls::showCharacterList(const GlyphList& glyphs) {
    QComboBox* combo = ui_.characterCombo;
    const QSignalBlocker blocker(combo);
    const int selected = combo->currentIndex();
    if (characters_->setCharacters(glyphs)) {
        // A reset list selects its first entry; the selection stays at its index instead.
        combo->setCurrentIndex(selected < combo->count() ? selected : -1);
    }
    showSelectedCharacter(glyphs);
}

int ProjectControls::findCharacter(const QString& query, bool next) const {
    const int from = next ? ui_.characterCombo->currentIndex() + 1 : 0;
    return characters_->find(query, from < characters_->rowCount() ? from : 0);
}

void ProjectControls::showSelectedCharacter(const GlyphList& glyphs) {
    const int index = ui_.characterCombo->currentIndex();
    const Glyph* glyph = index >= 0 ? glyphs.glyphAt(static_cast<std::size_t>(index)) : nullptr;
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui_.charBorderLeftSpin, ui_.charBorderRightSpin,
                                         ui_.charBorderLeftLabel, ui_.charBorderRightLabel}) {
        control->setEnabled(glyph != nullptr);
    }
    ui_.actionRemoveCharacter->setEnabled(glyph != nullptr);
    if (glyph != nullptr) {
        showCharacterBorders(*glyph);
        return;
    }
    for (QSpinBox* spin : {ui_.charBorderLeftSpin, ui_.charBorderRightSpin}) {
        const QSignalBlocker blocker(spin);
        spin->clear();
    }
}

void ProjectControls::showFace(const FontSettings& font) {
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
    } else {
        combo->setItemText(0, text);
    }
    combo->setItemData(0, file.filePath(), Qt::ToolTipRole);
    combo->setCurrentIndex(0);
}

bool ProjectControls::isFontFileEntry(int index) const {
    return index >= 0 && index < ui_.nameCombo->count() &&
           ui_.nameCombo->itemData(index).toString() == kFontFileMark;
}

void ProjectControls::clearCharacterSelection() {
    const QSignalBlocker blocker(ui_.characterCombo);
    ui_.characterCombo->setCurrentIndex(-1);
}

void ProjectControls::showPixelHeight(std::int32_t size) {
    ui_.sizePixelsLabel->setText(QStringLiteral("= %1 px").arg(pixelHeightFor(size, 1)));
}

void ProjectControls::showCharacterBorders(const Glyph& glyph) {
    setValueSilently(ui_.charBorderLeftSpin, glyph.charBorderLeft);
    setValueSilently(ui_.charBorderRightSpin, glyph.charBorderRight);
}

}  // namespace vemro
