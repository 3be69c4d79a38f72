// Where the add-in's own files lie.
#ifndef SCRIVLET_BASE_ADDIN_FOLDER_H_
#define SCRIVLET_BASE_ADDIN_FOLDER_H_

#include <string>

namespace scrivlet {

// The folder that holds the Scrivlet library, or the program it is linked
// into, without a trailing separator; its "Templates" subfolder holds the
// shipped templates. Found at run time from where this code was loaded, so
// an installed copy finds its templates wherever it was put. The
// environment variable SCRIVLET_ADDIN_FOLDER names another folder (a build
// tree, a test).
std::string findAddinFolder();

// "/opt/scrivlet/" -> "/opt/scrivlet"; "/" stays "/".
std::string withoutTrailingSeparator(std::string folder);

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_ADDIN_FOLDER_H_
