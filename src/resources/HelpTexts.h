// The help texts: numbered string resources (id = 100 + 10 x topic +
// reference position), read from the program's help data.
#pragma once
#include <QString>
#include <QStringList>

namespace qv {

// LoadResString: the text with that id, or an empty string.
QString LoadResString(int id);
// The references of a help topic (1..25) in list order; none for others.
QStringList HelpReferences(int topic);
// The 25 help topics after "<< Topics >>", in list order.
const QStringList& HelpTopics();

}  // namespace qv
