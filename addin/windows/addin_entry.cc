// The entry of libscrivlet.so: the one function a host looks up. Nothing
// here outlives the connection object, so the library can be unloaded once
// the host has deleted it.
#include <new>
#include <string>

#include "addin/connect.h"
#include "addin/settings_file.h"
#include "addin/windows/qt_addin_windows.h"
#include "base/addin_connection.h"
#include "base/addin_folder.h"
#include "base/file_system.h"

namespace scrivlet {
namespace {

// The connection with the services it runs on, all owned together.
class LibraryConnection : public AddinConnection {
 public:
  LibraryConnection()
      : connection_(windows_, files_, userPreferencesPath(), findAddinFolder()) {}

  void OnConnection(VBE& application, int connectMode) override {
    try {
      connection_.OnConnection(application, connectMode);
    } catch (...) {
    }
  }
  void OnDisconnection(int removeMode) override {
    try {
      connection_.OnDisconnection(removeMode);
    } catch (...) {
    }
  }

 private:
  DiskFileSystem files_;
  QtAddinWindows windows_;
  connect connection_;
};

}  // namespace
}  // namespace scrivlet

extern "C" scrivlet::AddinConnection* scrivlet_addin_create() {
  try {
    return new scrivlet::LibraryConnection();
  } catch (...) {
    return nullptr;
  }
}
