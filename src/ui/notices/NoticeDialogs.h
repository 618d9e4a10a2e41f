// SPDX-License-Identifier: MIT
#pragma once

#include "notices/Notice.h"

#include <functional>

class QMessageBox;
class QWidget;

namespace sorvala::NoticeDialogs {

/// Builds the message box for `dialog`: its title as the message, its body as the informative
/// text, the warning style when asked, the buttons in order.
QMessageBox* build(const Notice& dialog, QWidget* parent = nullptr);

/// Shows `dialog`: as a sheet of `window` when given, else on its own, modal to the
/// application. `handler` receives the role of the button that closed it.
void present(const Notice& dialog, QWidget* window, std::function<void(Notice::Button::Role)> handler = {});

} // namespace sorvala::NoticeDialogs
