#include "gui/common/Prompt.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

#include "gui/common/Texts.h"

namespace xinghe::gui {

namespace {

// One box with Chinese button texts whatever translations are installed.
int showBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
            QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, caption, text, buttons, parent);
    if (auto* b = box.button(QMessageBox::Ok)) b->setText(QStringLiteral("确定"));
    if (auto* b = box.button(QMessageBox::Yes)) b->setText(QStringLiteral("是(&Y)"));
    if (auto* b = box.button(QMessageBox::No)) b->setText(QStringLiteral("否(&N)"));
    return box.exec();
}

}  // namespace

void DialogPrompt::message(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::NoIcon, productTitle(), text, QMessageBox::Ok);
}

void DialogPrompt::information(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::Information, QStringLiteral("提示"), text, QMessageBox::Ok);
}

bool DialogPrompt::confirm(QWidget* parent, const QString& text) {
    return showBox(parent, QMessageBox::Question, QStringLiteral("确认"), text,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void DialogPrompt::error(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::Ok);
}

void DialogPrompt::captioned(QWidget* parent, const QString& caption, const QString& text) {
    showBox(parent, QMessageBox::Warning, caption, text, QMessageBox::Ok);
}

QString DialogPrompt::chooseFolder(QWidget* parent, const QString& caption,
                                   const QString& startFolder) {
    return QFileDialog::getExistingDirectory(parent, caption, startFolder);
}

QString DialogPrompt::chooseOpenFile(QWidget* parent, const QString& caption,
                                     const QString& startFolder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, startFolder, filter);
}

QString DialogPrompt::chooseSaveFile(QWidget* parent, const QString& caption,
                                     const QString& proposedFile, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, proposedFile, filter);
}

}  // namespace xinghe::gui
