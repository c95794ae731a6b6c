#include "views/LocationCommands.h"

#include <QAction>
#include <QMenu>

#include <variant>

#include "control/LocationText.h"
#include "core/SfrCatalogue.h"
#include "util/HexText.h"

namespace tessaly::ui {

void AddLocationCommands(QMenu& menu, const LocationCommands* commands, const std::string& name) {
    if (!commands) return;
    if (!menu.isEmpty()) menu.addSeparator();
    const auto add = [&](const QString& caption, const char* objectName,
                         const std::function<void(const std::string&)>& command) {
        QAction* action = menu.addAction(caption);
        action->setObjectName(QLatin1String(objectName));
        action->setEnabled(!name.empty() && command);
        QObject::connect(action, &QAction::triggered, &menu, [command, name] { command(name); });
    };
    add(QStringLiteral("&Last Write"), "actLastWrite", commands->lastWrite);
    add(QStringLiteral("Add &Data Break Point"), "actAddDataBreakPoint", commands->addDataBreakPoint);
}

std::string DataBreakName(const Processor& p, const Location& at) {
    switch (at.kind) {
    case LocationKind::SfrRegister:
    case LocationKind::SfrBit: {
        if (LocationWidth(p, at) == 0) return {};
        const std::string name = LocationName(p, at);
        const auto parsed = ParseLocationText(name);
        if (const Location* named = std::get_if<Location>(&parsed); named && *named == at) return name;
        // A bit whose nickname is a register's name too (T0, T1) goes by
        // its position.
        if (at.kind == LocationKind::SfrBit) return SfrCatalogueRecords()[at.key].name;
        return {};
    }
    case LocationKind::InternalRAM: {
        if (at.key > 0xFF) return {};
        const std::string digits = HexText(at.key, 2);
        return (digits.front() > '9' ? "0" : "") + digits + "H";
    }
    case LocationKind::ExternalRAM: return "X:" + HexText(at.key, 4) + "H";
    case LocationKind::BitMemory:
        if (at.key > 0xFF) return {};
        return "BIT:" + HexText(at.key, 2) + "H";
    }
    return {};
}

}  // namespace tessaly::ui
