// The main window's choice of face: the "Name" list of installed faces, and File > Use Font
// File, which puts a font file in their place.

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "engine/font/font_renderer.h"
#include "ui/builder_dialog.h"
#include "ui/file_prompts.h"
#include "ui/project_controls.h"
#include "ui/recent_files.h"
#include "ui/sentence.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

// A face of a file as the question about a collection lists it: "DejaVu Sans Bold".
QString faceCaption(const FontFileFace& face) {
    const QString family = QString::fromStdString(face.familyName);
    return face.styleName.empty()
               ? family
               : family + QLatin1Char(' ') + QString::fromStdString(face.styleName);
}

}  // namespace

void BuilderDialog::chooseFace(int index) {
    // The entry of the font file in use is the current choice already.
    if (controls_->isFontFileEntry(index)) {
        editProject(tr("Font"), [](Project&) {});
        return;
    }
    const std::string face = ui_->nameCombo->itemText(index).toStdString();
    editProject(tr("Font"), [&face](Project& project) {
        project.font.faceName = face;
        project.font.fontFile.clear();
        project.font.fontFaceIndex = 0;
    });
    controls_->showFace(document_.project.font);
}

void BuilderDialog::fileUseFontFile() {
    // The dialog starts beside the font file in use, else where the other dialogs start.
    const std::string& current = document_.project.font.fontFile;
    const QString proposed =
        current.empty()
            ? startFolder()
            : QFileInfo(QFile::decodeName(QByteArray::fromStdString(current))).absoluteFilePath();
    const std::optional<QString> chosen = prompts_.askFontFilePath(this, proposed);
    if (!chosen) {
        return;
    }
    const QString path = QFileInfo(*chosen).absoluteFilePath();
    const std::string file = QFile::encodeName(path).toStdString();
    const QString title = tr("Could not use the font file");
    const Result<std::vector<FontFileFace>> faces = renderer_.inspectFontFile(file);
    if (!faces) {
        prompts_.showError(this, title, sentence(faces.message()));
        return;
    }
    if (faces->empty()) {
        prompts_.showError(this, title, tr("%1 holds no face.").arg(QFileInfo(path).fileName()));
        return;
    }
    std::size_t pick = 0;
    if (faces->size() > 1) {
        QStringList captions;
        for (const FontFileFace& face : faces.value()) {
            captions.append(faceCaption(face));
        }
        const std::optional<qsizetype> answer =
            prompts_.askFontFace(this, QFileInfo(path).fileName(), captions);
        if (!answer || *answer < 0 || *answer >= captions.size()) {
            return;
        }
        pick = static_cast<std::size_t>(*answer);
    }
    recent_->rememberFolderOf(path);
    const FontFileFace& face = faces.value()[pick];
    editProject(tr("Use Font File"), [&file, &face](Project& project) {
        project.font.fontFile = file;
        project.font.fontFaceIndex = face.index;
        project.font.faceName = face.familyName;
    });
    controls_->showFace(document_.project.font);
}

}  // namespace vemro
