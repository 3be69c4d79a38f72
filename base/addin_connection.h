// What a host sees of the add-in library: one C function that makes the
// connection object, and the object's two calls.
//
// A host loads libscrivlet.so, looks up `scrivlet_addin_create`, calls it
// once per connection, calls OnConnection with its root object, and at the
// end OnDisconnection and then deletes the object. Only after the object is
// deleted may the library be unloaded: its code runs in the destructor.
//
// Neither call throws: the add-in reports its own failures in message boxes
// and swallows errors of its event handlers, as the environment expects of
// an add-in. Host and library are built together from the same sources, so
// the object model of base/vbide.h is the same on both sides.
//
// Threading: both calls, and every event handler the add-in sets, run on
// the host's user-interface thread.
#ifndef SCRIVLET_BASE_ADDIN_CONNECTION_H_
#define SCRIVLET_BASE_ADDIN_CONNECTION_H_

#include "base/vbide.h"

namespace scrivlet {

// How the add-in came to be connected (the environment's numbers).
enum ConnectMode {
  ext_cm_AfterStartup = 0,  // loaded by the user
  ext_cm_Startup = 1,       // loaded when the host started
  ext_cm_External = 2,      // shows its main dialog at once
  ext_cm_CommandLine = 3,   // the host was told to load it on its command line
};

// Why it is disconnected.
enum DisconnectMode {
  ext_dm_HostShutdown = 0,
  ext_dm_UserClosed = 1,
};

class AddinConnection {
 public:
  virtual ~AddinConnection() = default;
  // `application` must outlive the connection (until OnDisconnection).
  virtual void OnConnection(VBE& application, int connectMode) = 0;
  // Removes every command the add-in added and every handler it set.
  virtual void OnDisconnection(int removeMode) = 0;
};

}  // namespace scrivlet

// The library's one exported function. Returns a new connection object
// that the caller owns and deletes, or none when it could not be made.
extern "C" {
typedef scrivlet::AddinConnection* (*scrivlet_addin_create_function)();
__attribute__((visibility("default"))) scrivlet::AddinConnection*
scrivlet_addin_create();
}

inline constexpr char scrivletAddinCreateSymbol[] = "scrivlet_addin_create";

#endif  // SCRIVLET_BASE_ADDIN_CONNECTION_H_
