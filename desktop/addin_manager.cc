#include "desktop/addin_manager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "addin/settings_file.h"

namespace scrivlet {

namespace {

struct KnownAddin {
  const char* name;
  const char* file;
  const char* description;
};

const KnownAddin knownAddins[] = {
    {"Scrivlet", "libscrivlet.so",
     "Documents Visual Basic projects from their '** comments through "
     "templates, and writes comment skeletons in the code window."},
};

QString loadOnStartupKey(const Addin& addin) {
  return addin.name + QStringLiteral("/LoadOnStartup");
}

}  // namespace

AddinManager::AddinManager(
    VBE& vbe, std::function<void(const QString&, const QString&)> report)
    : vbe_(vbe), report_(std::move(report)) {}

AddinManager::~AddinManager() {
  for (const auto& addin : addins_)
    if (addin->loaded()) unload(*addin, ext_dm_HostShutdown);
}

QStringList AddinManager::defaultFolders() {
  QString program = QCoreApplication::applicationDirPath();
  return {program, QDir(program).filePath(QStringLiteral("../lib/scrivlet"))};
}

void AddinManager::findAddins(const QStringList& folders) {
  for (const KnownAddin& known : knownAddins) {
    QString name = QString::fromLatin1(known.name);
    if (addin(name)) continue;
    for (const QString& folder : folders) {
      QFileInfo file(QDir(folder).filePath(QString::fromLatin1(known.file)));
      if (!file.isFile()) continue;
      auto found = std::make_unique<Addin>();
      found->name = name;
      found->description = QString::fromLatin1(known.description);
      found->path = file.canonicalFilePath();
      addins_.push_back(std::move(found));
      break;
    }
  }
}

Addin* AddinManager::addin(const QString& name) const {
  for (const auto& each : addins_)
    if (each->name == name) return each.get();
  return nullptr;
}

void AddinManager::fail(const Addin& addin, const QString& reason) {
  if (report_)
    report_(QStringLiteral("Add-In Manager"),
            QStringLiteral("The add-in \"%1\" could not be loaded.\n\n%2")
                .arg(addin.name, reason));
}

bool AddinManager::load(Addin& addin, int connectMode) {
  if (addin.loaded()) return true;
  auto library = std::make_unique<QLibrary>(addin.path);
  if (!library->load()) {
    fail(addin, library->errorString());
    return false;
  }
  auto create = reinterpret_cast<scrivlet_addin_create_function>(
      library->resolve(scrivletAddinCreateSymbol));
  if (!create) {
    fail(addin, QStringLiteral("%1 does not export %2.")
                    .arg(addin.path, QLatin1String(scrivletAddinCreateSymbol)));
    library->unload();
    return false;
  }
  std::unique_ptr<AddinConnection> connection;
  QString problem;
  // The add-in promises not to throw; a host that trusted that blindly
  // would go down with a faulty one.
  try {
    connection.reset(create());
    if (connection) connection->OnConnection(vbe_, connectMode);
  } catch (const HostError& error) {
    problem = QString::fromLocal8Bit(error.what());
  } catch (const std::exception& error) {
    problem = QString::fromLocal8Bit(error.what());
  } catch (...) {
    problem = QStringLiteral("Unknown error while connecting.");
  }
  if (!connection && problem.isEmpty())
    problem = QStringLiteral("The library made no connection object.");
  if (!problem.isEmpty()) {
    try {
      connection.reset();
    } catch (...) {
    }
    fail(addin, problem);
    return false;
  }
  addin.library = std::move(library);
  addin.connection = std::move(connection);
  return true;
}

void AddinManager::unload(Addin& addin, int removeMode) {
  if (!addin.loaded()) return;
  try {
    addin.connection->OnDisconnection(removeMode);
  } catch (...) {
  }
  try {
    addin.connection.reset();
  } catch (...) {
  }
  // The connection's code lives in the library: only now may it go.
  addin.library->unload();
  addin.library.reset();
}

void AddinManager::loadAtStartup(bool fromCommandLine) {
  for (const auto& addin : addins_) {
    if (fromCommandLine)
      load(*addin, ext_cm_CommandLine);
    else if (loadOnStartup(*addin))
      load(*addin, ext_cm_Startup);
  }
}

QString AddinManager::settingsPath() {
  return QString::fromStdString(userConfigFolder()) +
         QStringLiteral("/scrivlet/ide.ini");
}

bool AddinManager::loadOnStartup(const Addin& addin) const {
  QSettings settings(settingsPath(), QSettings::IniFormat);
  return settings.value(loadOnStartupKey(addin), true).toBool();
}

void AddinManager::setLoadOnStartup(const Addin& addin, bool load) {
  QSettings settings(settingsPath(), QSettings::IniFormat);
  settings.setValue(loadOnStartupKey(addin), load);
}

}  // namespace scrivlet
