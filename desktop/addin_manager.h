// The add-ins the host knows and the ones it has loaded. An add-in is a
// shared library in the add-in folder that exports scrivlet_addin_create;
// the host loads it with QLibrary (never links it), connects it and, when
// it is unloaded, disconnects and deletes the connection before the library
// goes. A library that fails to load or connect is reported and the host
// goes on without it.
//
// Which add-ins load when the host starts is the user's choice, kept in
// $XDG_CONFIG_HOME/scrivlet/ide.ini; an add-in the user never chose for or
// against loads on start-up.
#ifndef SCRIVLET_DESKTOP_ADDIN_MANAGER_H_
#define SCRIVLET_DESKTOP_ADDIN_MANAGER_H_

#include <QLibrary>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "base/addin_connection.h"
#include "base/vbide.h"

namespace scrivlet {

struct Addin {
  QString name;         // "Scrivlet"
  QString description;  // what the manager shows under the list
  QString path;         // the library file
  std::unique_ptr<QLibrary> library;
  std::unique_ptr<AddinConnection> connection;
  bool loaded() const { return connection != nullptr; }
};

class AddinManager {
 public:
  // `report` shows a failure to the user (title and text).
  AddinManager(VBE& vbe,
               std::function<void(const QString&, const QString&)> report);
  // Disconnects every loaded add-in as the host shuts down.
  ~AddinManager();

  // Looks for the known add-ins in `folders` (the first folder holding one
  // wins).
  void findAddins(const QStringList& folders);
  // The program's folder (the build tree) and <prefix>/lib/scrivlet beside
  // an installed program's <prefix>/bin.
  static QStringList defaultFolders();
  std::vector<std::unique_ptr<Addin>>& addins() { return addins_; }
  Addin* addin(const QString& name) const;

  // Loads and connects; false, reported, when the library cannot be loaded,
  // lacks the function or fails to connect.
  bool load(Addin& addin, int connectMode);
  void unload(Addin& addin, int removeMode);
  // Loads the add-ins chosen to load on start-up (mode 1), or every add-in
  // (mode 3) when the command line asked for it.
  void loadAtStartup(bool fromCommandLine);

  bool loadOnStartup(const Addin& addin) const;
  void setLoadOnStartup(const Addin& addin, bool load);
  // $XDG_CONFIG_HOME/scrivlet/ide.ini.
  static QString settingsPath();

 private:
  void fail(const Addin& addin, const QString& reason);

  VBE& vbe_;
  std::function<void(const QString&, const QString&)> report_;
  std::vector<std::unique_ptr<Addin>> addins_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_ADDIN_MANAGER_H_
