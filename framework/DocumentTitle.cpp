#include "framework/DocumentTitle.h"

namespace DocumentTitle {

QString FromText(const std::string& text) {
    const QString whole = QString::fromStdString(text);
    // Characters, not UTF-16 units: a character outside the basic plane takes two units.
    qsizetype end = 0;
    for (int characters = 0; characters < kMaxCharacters && end < whole.size(); ++characters) {
        const bool pair =
            whole.at(end).isHighSurrogate() && end + 1 < whole.size() && whole.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return whole.left(end);
}

} // namespace DocumentTitle
