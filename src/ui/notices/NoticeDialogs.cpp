// SPDX-License-Identifier: MIT
#include "ui/notices/NoticeDialogs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace sorvala::NoticeDialogs {

namespace {

QMessageBox::ButtonRole qtRole(Notice::Button::Role role) {
    switch (role) {
    case Notice::Button::Role::confirm: return QMessageBox::AcceptRole;
    case Notice::Button::Role::dismiss: return QMessageBox::RejectRole;
    case Notice::Button::Role::snooze:
    case Notice::Button::Role::skip:
    case Notice::Button::Role::undo: return QMessageBox::ActionRole;
    }
    return QMessageBox::RejectRole;
}

} // namespace

QMessageBox* build(const Notice& dialog, QWidget* parent) {
    auto* box = new QMessageBox(parent);
    box->setWindowTitle(QStringLiteral("Sorvala"));
    box->setIcon(dialog.isWarning ? QMessageBox::Warning : QMessageBox::Information);
    box->setText(QString::fromStdString(dialog.title));
    box->setInformativeText(QString::fromStdString(dialog.body));
    for (const auto& button : dialog.buttons)
        box->addButton(QString::fromStdString(button.title), qtRole(button.role));
    if (dialog.buttons.empty())
        box->addButton(QMessageBox::Ok);
    return box;
}

void present(const Notice& dialog, QWidget* window, std::function<void(Notice::Button::Role)> handler) {
    auto* box = build(dialog, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, [box, dialog, handler](int) {
        if (!handler)
            return;
        // The buttons were added in order, so a button's place among them is its index.
        const auto buttons = box->buttons();
        const auto index = buttons.indexOf(box->clickedButton());
        long long position = -1;
        for (long long i = 0; i < static_cast<long long>(dialog.buttons.size()); ++i)
            if (index >= 0 &&
                box->buttonRole(buttons[index]) == qtRole(dialog.buttons[std::size_t(i)].role) &&
                buttons[index]->text() == QString::fromStdString(dialog.buttons[std::size_t(i)].title))
                position = i;
        handler(dialog.role(position));
    });
    box->open();
}

} // namespace sorvala::NoticeDialogs
