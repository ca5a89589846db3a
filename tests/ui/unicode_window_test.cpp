// The window's Unicode characters and fonts from files: the character set dialog, finding and
// removing characters, the characters a face lacks, File > Use Font File (collections, a file
// gone missing), and characters as messages and the "Character" list show them, against Qt's
// own character properties.

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QtEndian>

#include "engine/font/freetype_font_renderer.h"
#include "engine/text/unicode_text.h"
#include "session/session_text.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"

namespace vemro::test {

namespace {

const QString kDejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/");

void addTyped(const BuilderDialog& window, const QString& text) {
    whenModalDialogShows([text](QDialog* dialog) {
        typeText(child<QLineEdit>(*dialog, "charactersEdit"), text);
        child<QPushButton>(*dialog, "okButton")->click();
    });
    trigger(window, "actionAddCharacters");
}

// A font collection of TrueType files: the 'ttcf' header with one offset per font, then each
// font whole, the offsets in its table records moved by where it now starts.
QByteArray collectionOf(const QStringList& files) {
    QByteArray out("ttcf\0\1\0\0", 8);
    out.append(static_cast<char>(0)).append(3, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(files.size()), out.data() + 8);
    out.append(4 * files.size(), '\0');
    for (qsizetype f = 0; f < files.size(); ++f) {
        QByteArray font = fileBytes(files[f]);
        const auto start = static_cast<quint32>(out.size());
        for (int t = 0; t < qFromBigEndian<quint16>(font.constData() + 4); ++t) {
            char* offset = font.data() + 12 + 16 * t + 8;
            qToBigEndian<quint32>(qFromBigEndian<quint32>(offset) + start, offset);
        }
        qToBigEndian<quint32>(start, out.data() + 12 + 4 * f);
        out.append(font);
    }
    return out;
}

}  // namespace

class UnicodeWindowTest : public QObject {
    Q_OBJECT

private slots:
    void characterSetAddsBlocksWithOrWithoutTheFacesCharactersOnly();
    void findSelectsAndRemoveTakesCharactersOut();
    void fontFileIsUsedNamedAndUndone();
    void charactersShowAsQtClassesThem();

private:
    FreetypeFontRenderer renderer_;
};

void UnicodeWindowTest::characterSetAddsBlocksWithOrWithoutTheFacesCharactersOnly() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    // The reference: the face's own characters, with Qt's character database deciding what is
    // assigned.
    Result<std::unique_ptr<Font>> font = renderer_.createFont(fontRequestFor(window.project()));
    const std::vector<char32_t> faceHas = font.value()->characters();
    std::vector<char32_t> greek;
    std::copy_if(faceHas.begin(), faceHas.end(), std::back_inserter(greek),
                 [](char32_t code) { return code >= 0x370 && code <= 0x3FF; });
    std::vector<char32_t> hiragana;
    for (char32_t code = 0x3040; code <= 0x309F; ++code) {
        if (QChar::category(code) != QChar::Other_NotAssigned) {
            hiragana.push_back(code);
        }
    }
    // Cyrillic Supplement: the face has some of its characters.
    std::vector<char32_t> cyrillic;
    std::copy_if(faceHas.begin(), faceHas.end(), std::back_inserter(cyrillic),
                 [](char32_t code) { return code >= 0x500 && code <= 0x52F; });
    std::size_t cyrillicAll = 0;
    for (char32_t code = 0x500; code <= 0x52F; ++code) {
        cyrillicAll += QChar::category(code) != QChar::Other_NotAssigned ? 1 : 0;
    }
    QVERIFY(greek.size() > 60 && hiragana.size() == 93);
    QVERIFY(!cyrillic.empty() && cyrillic.size() < cyrillicAll);

    // Blocks found by name and selected, some then hidden by another name: Greek, only what the
    // face has; Hiragana, which DejaVu Sans lacks, with and without that check; Cyrillic
    // Supplement and Greek again, only what the face has. Each addition is one step, and the
    // status line says what happened.
    const QString face = QString::fromStdString(window.waitForResult()->fontName);
    const struct {
        const char* block;
        const char* hiding;
        bool onlyFace;
        QString said;
    } steps[] = {
        {"greek and", "", true, QStringLiteral("Added %1 characters.").arg(greek.size())},
        {"hiragana", "greek", true, face + " has none of the 93 characters of Hiragana."},
        {"hiragana", "greek", false, QStringLiteral("Added 93 characters.")},
        {"cyrillic supp", "", true,
         QStringLiteral("Added %1 characters; %2 lacks %3.")
             .arg(cyrillic.size())
             .arg(face)
             .arg(cyrillicAll - cyrillic.size())},
        {"greek and", "", true,
         QStringLiteral("All %1 characters were in the list already.").arg(greek.size())},
    };
    for (const auto& step : steps) {
        int shown = 0;
        bool checkedAtFirst = false;
        whenModalDialogShows([&](QDialog* dialog) {
            auto* tree = child<QTreeWidget>(*dialog, "blockTree");
            auto* filter = child<QLineEdit>(*dialog, "blockFilterEdit");
            typeText(filter, QString::fromLatin1(step.block));
            for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                tree->topLevelItem(i)->setSelected(!tree->topLevelItem(i)->isHidden());
            }
            shown = static_cast<int>(tree->selectedItems().size());
            filter->clear();
            typeText(filter, QString::fromLatin1(step.hiding));
            checkedAtFirst = child<QCheckBox>(*dialog, "onlyFaceCheck")->isChecked();
            child<QCheckBox>(*dialog, "onlyFaceCheck")->setChecked(step.onlyFace);
            child<QDialogButtonBox>(*dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        });
        trigger(window, "actionAddCharacterSet");
        QCOMPARE(shown, 1);
        QVERIFY(checkedAtFirst);
        const QString status = child<QLabel>(window, "statusLabel")->text();
        QVERIFY2(status.startsWith(step.said), qPrintable(status));
    }
    std::vector<char32_t> expected = greek;
    expected.insert(expected.end(), hiragana.begin(), hiragana.end());
    expected.insert(expected.end(), cyrillic.begin(), cyrillic.end());
    QCOMPARE(codesOf(window.project().glyphs), expected);
    trigger(window, "actionUndo");
    trigger(window, "actionUndo");
    QCOMPARE(codesOf(window.project().glyphs), greek);
}

void UnicodeWindowTest::findSelectsAndRemoveTakesCharactersOut() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    addTyped(window, QStringLiteral("AbЖ\u4E00\u4E8Cz"));
    auto* combo = child<QComboBox>(window, "characterCombo");
    auto* find = child<QLineEdit>(window, "characterFindEdit");
    // By the character, by its code in either case and form, and Enter going on to the next.
    for (const auto& [query, index] : {std::pair{QStringLiteral("Ж"), 2},
                                       {QStringLiteral("u+4e8c"), 4},
                                       {QStringLiteral("41"), 0},
                                       {QStringLiteral("b"), 1},
                                       {QStringLiteral("U+7A"), 5}}) {
        find->clear();
        typeText(find, query);
        QCOMPARE(combo->currentIndex(), index);
    }
    QTest::keyClick(find, Qt::Key_Return);
    QCOMPARE(combo->currentIndex(), 5);  // nothing else is z
    QCOMPARE(controlsDiffer(window, window.document()), QString());

    // The status line counts what the face lacks and offers the installed face fontconfig picks
    // for it; Remove characters the face lacks takes it out.
    window.waitForResult();
    QVERIFY(child<QLabel>(window, "statusLabel")
                ->text()
                .startsWith(QStringLiteral("2 characters are not in %1: take them from ")
                                .arg(QString::fromStdString(window.shownResult()->fontName))));
    trigger(window, "actionRemoveMissingCharacters");
    QCOMPARE(codesOf(window.project().glyphs), (std::vector<char32_t>{U'A', U'b', U'Ж', U'z'}));
    chooseItem(combo, 1);
    trigger(window, "actionRemoveCharacter");
    whenModalDialogShows([](QDialog* dialog) {
        typeText(child<QLineEdit>(*dialog, "charactersEdit"), QStringLiteral("zqA"));
        child<QPushButton>(*dialog, "okButton")->click();
    });
    trigger(window, "actionRemoveCharacters");
    QCOMPARE(codesOf(window.project().glyphs), (std::vector<char32_t>{U'Ж'}));
    trigger(window, "actionUndo");
    trigger(window, "actionUndo");
    QCOMPARE(codesOf(window.project().glyphs), (std::vector<char32_t>{U'A', U'b', U'Ж', U'z'}));
}

void UnicodeWindowTest::fontFileIsUsedNamedAndUndone() {
    QTemporaryDir dir;
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    addTyped(window, QStringLiteral("Ag"));
    auto* name = child<QComboBox>(window, "nameCombo");
    const int faces = name->count();
    // One face of a collection, as the user picks it.
    const QString collection = dir.filePath(QStringLiteral("pair.ttc"));
    QFile file(collection);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(collectionOf({kDejaVu + "DejaVuSans.ttf", kDejaVu + "DejaVuSansMono-Bold.ttf"}));
    file.close();
    prompts.fontFilePath = collection;
    prompts.fontFaceAnswer = 1;
    trigger(window, "actionUseFontFile");
    QCOMPARE(prompts.offeredFaces, (QStringList{QStringLiteral("DejaVu Sans Book"),
                                                QStringLiteral("DejaVu Sans Mono Bold")}));
    QCOMPARE(window.project().font.fontFile, collection.toStdString());
    QCOMPARE(window.project().font.fontFaceIndex, 1);
    QCOMPARE(name->currentText(), QStringLiteral("DejaVu Sans Mono (pair.ttc)"));
    QCOMPARE(name->count(), faces + 1);
    QCOMPARE(window.waitForResult()->fontName, std::string("DejaVu Sans Mono"));

    // Saved beside the project, opened after the font has gone: named, kept, saved again.
    prompts.savePath = dir.filePath(QStringLiteral("game.fnt"));
    trigger(window, "actionSave");
    const QByteArray saved = fileBytes(*prompts.savePath);
    QVERIFY(saved.contains("pair.ttc") && !saved.contains(dir.path().toUtf8()));
    QVERIFY(QFile::remove(collection));
    QVERIFY(window.openProjectFile(*prompts.savePath));
    QVERIFY(child<QLabel>(window, "loadMessageLabel")->text().contains(collection));
    QCOMPARE(name->currentText(), QStringLiteral("pair.ttc (missing)"));
    trigger(window, "actionSaveAs");
    QCOMPARE(fileBytes(*prompts.savePath), saved);

    // An installed face drops the file; undo brings it back.
    chooseItem(name, 3);
    QVERIFY(window.project().font.fontFile.empty());
    QCOMPARE(name->count(), faces);
    trigger(window, "actionUndo");
    QCOMPARE(window.project().font.fontFile, collection.toStdString());
    QCOMPARE(controlsDiffer(window, window.document()), QString());
}

// A character shows as itself when Qt calls it printable and no space (and it may join a
// character set); else as its code. The list names a few and shows control codes by code alone.
void UnicodeWindowTest::charactersShowAsQtClassesThem() {
    int compared = 0;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        // Characters Qt's database does not know yet are ICU's to judge.
        if (QChar::category(code) == QChar::Other_NotAssigned && isAddableCharacter(code)) {
            continue;
        }
        const QString number =
            QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
        const bool scalar = code < 0xD800 || code > 0xDFFF;
        const QString itself = scalar ? QString::fromUcs4(&code, 1) : QString();
        const QString shown =
            isAddableCharacter(code) && QChar::isPrint(code) && !QChar::isSpace(code) ? itself
                                                                                      : number;
        QCOMPARE(QString::fromStdString(shownCharacter(code)), shown);
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F) || !scalar) {
            QCOMPARE(QString::fromStdString(characterCaption(code)), number);
        } else if (code != 0x20 && code != 0xA0 && code != 0xAD) {
            QCOMPARE(QString::fromStdString(characterCaption(code)),
                     itself + QStringLiteral("  ") + number);
        }
        ++compared;
    }
    QVERIFY(compared > 1000000);
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::UnicodeWindowTest)
#include "unicode_window_test.moc"
