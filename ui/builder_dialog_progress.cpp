// The main window's view of a long rebuild: the progress bar and Cancel button in the status
// line (and Esc) once a rebuild has run for half a second, and the wait of a command that needs
// the atlas, in a progress dialog that can cancel it.

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <chrono>

#include "ui/builder_dialog.h"

namespace vemro {

namespace {

// A rebuild shows its progress once it has run this long.
constexpr std::chrono::milliseconds kShowProgressAfter{500};
// How often the progress is looked at while a rebuild runs.
constexpr int kProgressInterval = 100;
// How long a command waits for the atlas before it shows the wait.
constexpr std::chrono::milliseconds kQuietWait{300};

// The progress as the bar shows it: a range of at most int's size.
void showOn(QProgressBar& bar, const EditingSession::RebuildProgress& progress) {
    const int total = static_cast<int>(std::min<std::size_t>(progress.total, 1U << 30));
    const int done = static_cast<int>(std::min<std::size_t>(progress.done, 1U << 30));
    bar.setRange(0, std::max(total, 1));
    bar.setValue(std::min(done, std::max(total, 1)));
    bar.setFormat(QString::fromStdString(progress.text));
}

}  // namespace

void BuilderDialog::setUpProgress() {
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("rebuildProgressBar"));
    progressBar_->setTextVisible(true);
    progressBar_->setMinimumWidth(260);
    cancelButton_ = new QPushButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelRebuildButton"));
    cancelButton_->setToolTip(
        tr("Stop the rebuild; the atlas shown stays until the next change (Esc)"));
    cancelButton_->setFocusPolicy(Qt::NoFocus);
    statusBar()->addPermanentWidget(progressBar_);
    statusBar()->addPermanentWidget(cancelButton_);
    progressBar_->hide();
    cancelButton_->hide();

    cancelAction_ = new QAction(tr("Cancel Rebuild"), this);
    cancelAction_->setObjectName(QStringLiteral("actionCancelRebuild"));
    cancelAction_->setShortcut(QKeySequence(Qt::Key_Escape));
    cancelAction_->setEnabled(false);
    addAction(cancelAction_);
    const auto cancel = [this] {
        session_->cancelRebuild();
        refresh();
    };
    connect(cancelAction_, &QAction::triggered, this, cancel);
    connect(cancelButton_, &QPushButton::clicked, this, cancel);

    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(kProgressInterval);
    connect(progressTimer_, &QTimer::timeout, this, [this] { showProgress(); });
}

void BuilderDialog::showProgress() {
    const bool rebuilding = session_->isRebuilding();
    cancelAction_->setEnabled(rebuilding);
    if (rebuilding && !progressTimer_->isActive()) {
        progressTimer_->start();
    } else if (!rebuilding) {
        progressTimer_->stop();
    }
    const std::optional<EditingSession::RebuildProgress> progress = session_->rebuildProgress();
    const bool shown = progress && progress->elapsed >= kShowProgressAfter;
    if (shown) {
        showOn(*progressBar_, *progress);
    }
    progressBar_->setVisible(shown);
    cancelButton_->setVisible(shown);
}

std::shared_ptr<const AtlasResult> BuilderDialog::waitForResult() {
    if (session_->isRebuilding() || session_->rebuildCancelled()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        session_->waitForResult(kQuietWait);
        QApplication::restoreOverrideCursor();
    }
    if (session_->isRebuilding()) {
        // A long wait shows how far the rebuild has got and can cancel it; the dialog keeps the
        // window's controls from changing the project meanwhile.
        QProgressDialog dialog(this);
        dialog.setWindowTitle(tr("Rebuilding"));
        dialog.setWindowModality(Qt::WindowModal);
        dialog.setMinimumDuration(0);
        dialog.setAutoReset(false);
        dialog.setAutoClose(false);
        QEventLoop loop;
        QTimer poll;
        const auto look = [&] {
            session_->takeFinishedRebuild();
            if (!session_->isRebuilding()) {
                loop.quit();
                return;
            }
            if (const std::optional<EditingSession::RebuildProgress> progress =
                    session_->rebuildProgress()) {
                dialog.setLabelText(QString::fromStdString(progress->text));
                dialog.setMaximum(
                    static_cast<int>(std::min<std::size_t>(progress->total, 1U << 30)));
                dialog.setValue(static_cast<int>(std::min<std::size_t>(progress->done, 1U << 30)));
            }
        };
        connect(&dialog, &QProgressDialog::canceled, &loop, [&] {
            session_->cancelRebuild();
            loop.quit();
        });
        connect(&poll, &QTimer::timeout, &loop, look);
        poll.start(kProgressInterval / 2);
        look();
        if (session_->isRebuilding()) {
            dialog.show();
            waiting_ = true;
            loop.exec();
            waiting_ = false;
        }
    }
    refresh();
    if (session_->isRebuilding() || session_->rebuildCancelled()) {
        return nullptr;
    }
    return session_->shownResult();
}

}  // namespace vemro
