#include "gui/requests/ChosenLine.h"

#include "app/ContexteEtude.h"

#include <QListWidget>

std::optional<std::int32_t> ChosenLineId(const QListWidget& list, int refusal) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    if (!selected.isEmpty())
        return selected.front()->data(Qt::UserRole).toInt();
    if (const CContexteEtude* context = GetContexte())
        context->GetUserInterface().ShowMessage(Message(refusal), UserInterface::Icon::Warning);
    return std::nullopt;
}
