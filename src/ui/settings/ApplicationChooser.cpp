// SPDX-License-Identifier: MIT
#include "ui/settings/ApplicationChooser.h"
#include "i18n/QtI18n.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace sorvala {
namespace {
constexpr int idRole = Qt::UserRole;
}

ApplicationChooser::ApplicationChooser(const std::vector<InstalledApplication>& applications,
                                       const std::vector<std::string>& already, QWidget* parent)
    : QDialog(parent), m_search(new QLineEdit(this)), m_list(new QListWidget(this)) {
    setWindowTitle(qi18n("Add Apps That Mean Busy"));
    m_search->setObjectName(QStringLiteral("applicationSearch"));
    m_search->setPlaceholderText(qi18n("Search applications"));
    m_search->setClearButtonEnabled(true);
    m_list->setObjectName(QStringLiteral("applicationList"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setIconSize(QSize(24, 24));
    m_list->setUniformItemSizes(true);
    for (const auto& application : applications) {
        if (std::find(already.begin(), already.end(), application.id) != already.end())
            continue;
        auto* item =
            new QListWidgetItem(ApplicationCatalog::icon(application.iconName), application.name, m_list);
        item->setData(idRole, QString::fromStdString(application.id));
        item->setToolTip(QString::fromStdString(application.id));
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    auto* add = buttons->addButton(qi18nc("add the chosen applications", "Add"), QDialogButtonBox::AcceptRole);
    add->setDefault(true);
    add->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this, add] { add->setEnabled(!m_list->selectedItems().isEmpty()); });
    connect(m_list, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(m_search, &QLineEdit::textChanged, this, &ApplicationChooser::filter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(420, 480);
}

void ApplicationChooser::filter(const QString& text) {
    const QString needle = text.trimmed();
    for (int i = 0; i < m_list->count(); ++i) {
        auto* item = m_list->item(i);
        const bool match = needle.isEmpty() || item->text().contains(needle, Qt::CaseInsensitive) ||
                           item->data(idRole).toString().contains(needle, Qt::CaseInsensitive);
        item->setHidden(!match);
        if (!match)
            item->setSelected(false);
    }
}

std::vector<std::string> ApplicationChooser::chosenIds() const {
    std::vector<std::string> ids;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->isSelected())
            ids.push_back(m_list->item(i)->data(idRole).toString().toStdString());
    return ids;
}

std::vector<std::string> ApplicationChooser::choose(QWidget* parent, ApplicationCatalog& catalog,
                                                    const std::vector<std::string>& already) {
    ApplicationChooser chooser(catalog.applications(), already, parent);
    if (chooser.exec() != QDialog::Accepted)
        return {};
    return chooser.chosenIds();
}

} // namespace sorvala
