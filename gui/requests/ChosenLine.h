#pragma once

#include <cstdint>
#include <optional>

class QListWidget;

// What OK of a selection dialog over a list takes: the id the selected line carries (in
// Qt::UserRole). With no line selected the analyst is told `refusal` and there is no id, so that
// the dialog stays open.
std::optional<std::int32_t> ChosenLineId(const QListWidget& list, int refusal);
