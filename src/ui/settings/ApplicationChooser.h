// SPDX-License-Identifier: MIT
#pragma once

#include "ui/settings/ApplicationCatalog.h"

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace sorvala {

/// A searchable list of the installed applications, by name and icon; the user picks one or more.
class ApplicationChooser : public QDialog {
    Q_OBJECT
public:
    /// Lists `applications`, leaving out the ids in `already`.
    ApplicationChooser(const std::vector<InstalledApplication>& applications,
                       const std::vector<std::string>& already, QWidget* parent = nullptr);

    /// The desktop-file ids of the selected applications, in list order.
    std::vector<std::string> chosenIds() const;

    /// Shows the chooser and answers the chosen ids; none when the user cancels.
    static std::vector<std::string> choose(QWidget* parent, ApplicationCatalog& catalog,
                                           const std::vector<std::string>& already);

private:
    void filter(const QString& text);

    QLineEdit* m_search;
    QListWidget* m_list;
};

} // namespace sorvala
