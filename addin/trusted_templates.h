// The templates whose after-compile commands the user allows to run.
//
// A template's "scriv-exec-after" section is a list of shell commands, and a
// project can name its own template in its settings file: opening a project
// that someone else wrote must not run that someone's commands. Commands run
// only from a template the user trusts: the shipped ones, one given for the
// run, or one the user allowed by name. An allowed template is remembered by
// its path and the fingerprint of its contents, so that a template changed
// since (by a pull, say) must be allowed again.
//
// The list is a text file, one template a line: "<sha256 hex> <path>".
#ifndef SCRIVLET_ADDIN_TRUSTED_TEMPLATES_H_
#define SCRIVLET_ADDIN_TRUSTED_TEMPLATES_H_

#include <string>
#include <string_view>

namespace scrivlet {

// The SHA-256 of `bytes` in lower-case hex.
std::string templateFingerprint(std::string_view bytes);

// $XDG_CONFIG_HOME/scrivlet/trusted-templates (~/.config when the variable
// is not set); empty when there is no configuration folder.
std::string trustedTemplatesFile();

// Whether `templatePath` is listed with the fingerprint its contents have
// now. A template that cannot be read is not trusted.
bool isTrustedTemplate(const std::string& listFile,
                       const std::string& templatePath);

// Adds `templatePath` with its current fingerprint to the list (replacing
// an older line for the same path), creating the list and its folder. On
// failure `error` says why.
bool trustTemplate(const std::string& listFile,
                   const std::string& templatePath, std::string& error);

// Whether `templatePath` is one of the templates shipped in the add-in
// folder (its "Templates" folder), after links are resolved.
bool isShippedTemplate(const std::string& addinFolder,
                       const std::string& templatePath);

// What decides whether a compile may run the commands of its template.
struct TemplateTrust {
  std::string addinFolder;  // its shipped templates are trusted
  std::string listFile;     // the user's list; empty: trustedTemplatesFile()
  bool allowCommands = false;  // the user allows every template this run
  bool templateGiven = false;  // the user chose the template for this run

  // Whether the commands of `templatePath` may run: allowed for the run,
  // given for the run, shipped, or listed with its current fingerprint.
  bool mayRunCommands(const std::string& templatePath) const;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_TRUSTED_TEMPLATES_H_
