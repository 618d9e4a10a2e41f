// SPDX-License-Identifier: MIT
// A desktop entry as any installed package may ship it, read the two ways we read them: the index
// the busy-app probe matches windows against, and the catalog the settings window lists.
#include "FuzzSupport.h"

#include "platform/desktop/DesktopEntryIndex.h"
#include "ui/settings/ApplicationCatalog.h"

using namespace sorvala;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ScratchFolder scratch;
    const QString folder = QString::fromStdString(scratch.fresh().string());
    scratch.write("org.example.Fuzzed.desktop", fuzz::text(data, size));

    const auto entries = DesktopEntryIndex::read({folder});
    fuzz::require(entries.ids.count("org.example.Fuzzed") == 1, "the entry's id is indexed");
    for (const auto& [wmClass, id] : entries.idByStartupWmClass)
        fuzz::require(!wmClass.empty() && id == "org.example.Fuzzed", "a window class names the entry");

    ApplicationCatalog catalog({folder});
    const auto application = catalog.find("org.example.Fuzzed");
    fuzz::require(application.has_value() && !application->name.isEmpty(),
                  "the entry is in the catalog, named");
    fuzz::require(catalog.applications().size() <= 1, "one entry lists at most one application");
    return 0;
}
