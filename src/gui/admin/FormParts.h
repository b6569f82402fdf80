// Building blocks of the small administration dialogs: a column of labelled line
// edits above a row of buttons.
#pragma once

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace xinghe::gui::form {

class Builder {
public:
    explicit Builder(QDialog* dialog) : dialog_(dialog) {}

    QLineEdit* field(const QString& label, const QString& name, bool password = false) {
        auto* edit = new QLineEdit(dialog_);
        edit->setObjectName(name);
        if (password) edit->setEchoMode(QLineEdit::Password);
        const int row = grid_->rowCount();
        grid_->addWidget(new QLabel(label, dialog_), row, 0, Qt::AlignRight);
        grid_->addWidget(edit, row, 1);
        return edit;
    }

    QPushButton* button(const QString& caption, const QString& name) {
        auto* b = new QPushButton(caption, dialog_);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons_->addWidget(b);
        return b;
    }

    // Lays the fields and the buttons out in the dialog and fixes its size.
    void finish() {
        grid_->setColumnMinimumWidth(1, 200);
        grid_->setVerticalSpacing(10);
        auto* layout = new QVBoxLayout(dialog_);
        layout->setContentsMargins(20, 18, 20, 14);
        layout->addLayout(grid_);
        layout->addSpacing(10);
        buttons_->insertStretch(0);
        buttons_->addStretch();
        buttons_->setSpacing(24);
        layout->addLayout(buttons_);
        dialog_->setFixedSize(dialog_->sizeHint());
    }

private:
    QDialog* dialog_;
    QGridLayout* grid_ = new QGridLayout;
    QHBoxLayout* buttons_ = new QHBoxLayout;
};

}  // namespace xinghe::gui::form
