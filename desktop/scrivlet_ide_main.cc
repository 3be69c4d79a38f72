// scrivlet-ide [--load-addin] [PROJECT.vbp | GROUP.vbg]
//
// The desktop host: a small development environment that opens a Visual
// Basic project or group and loads the Scrivlet add-in into it.
// --load-addin connects every add-in found as the environment's command
// line does (whatever "Load on Startup" says).
#include <QApplication>
#include <QCommandLineParser>

#include "desktop/ide_frame.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("scrivlet-ide"));
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "A development environment for Visual Basic projects that hosts the "
      "Scrivlet add-in."));
  parser.addHelpOption();
  QCommandLineOption loadAddin(
      QStringLiteral("load-addin"),
      QStringLiteral("Load every add-in found, as if asked on the command line."));
  parser.addOption(loadAddin);
  parser.addPositionalArgument(QStringLiteral("project"),
                               QStringLiteral("A project (.vbp) or group (.vbg)."),
                               QStringLiteral("[PROJECT.vbp | GROUP.vbg]"));
  parser.process(application);

  scrivlet::IdeFrame frame;
  frame.show();
  frame.addins().findAddins(scrivlet::AddinManager::defaultFolders());
  frame.addins().loadAtStartup(parser.isSet(loadAddin));
  if (!parser.positionalArguments().isEmpty())
    frame.openProject(parser.positionalArguments().first());
  return application.exec();
}
