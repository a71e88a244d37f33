#include "app/AnalyzeCommand.h"

#include <QTextStream>

namespace tavolen::app {

int runAnalyzeCommand(const QStringList &)
{
    QTextStream(stderr) << "tavolen analyze: not available yet\n";
    return 2;
}

} // namespace tavolen::app
