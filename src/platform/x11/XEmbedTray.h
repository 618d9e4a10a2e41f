// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala {

/// Whether a tray that docks icons the XEmbed way (tint2, stalonetray, many light panels) holds
/// the `_NET_SYSTEM_TRAY_S<n>` selection of the X display Qt draws on. False off X11, where no
/// such tray can exist.
bool xembedTrayPresent();

} // namespace sorvala
