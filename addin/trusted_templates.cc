#include "addin/trusted_templates.h"

#include <openssl/evp.h>

#include <array>
#include <filesystem>
#include <memory>
#include <sstream>

#include "addin/settings_file.h"
#include "base/file_system.h"
#include "base/text_file.h"

namespace scrivlet {

namespace {

namespace fs = std::filesystem;

// The path a template is listed under: absolute, links resolved, so that
// "tpl/x.scvt" and "./tpl/x.scvt" are the same template.
std::string canonicalPath(const std::string& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? path : canonical.string();
}

bool readFingerprint(const std::string& path, std::string& fingerprint) {
  std::string bytes;
  if (readRegularFile(path, bytes) != 0) return false;
  fingerprint = templateFingerprint(bytes);
  return true;
}

// The list's lines, each split into fingerprint and path.
struct ListLine {
  std::string fingerprint;
  std::string path;
};
std::vector<ListLine> readList(const std::string& listFile) {
  std::string bytes;
  std::vector<ListLine> list;
  if (readRegularFile(listFile, bytes) != 0) return list;
  for (const std::string& line : fileLines(bytes)) {
    std::size_t blank = line.find(' ');
    if (blank == std::string::npos || blank == 0) continue;
    list.push_back({line.substr(0, blank), line.substr(blank + 1)});
  }
  return list;
}

}  // namespace

std::string templateFingerprint(std::string_view bytes) {
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_sha256(),
             nullptr);
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (unsigned int i = 0; i < size; ++i) {
    out += hex[digest[i] >> 4];
    out += hex[digest[i] & 15];
  }
  return out;
}

std::string trustedTemplatesFile() {
  std::string base = userConfigFolder();
  return base.empty() ? base : base + "/scrivlet/trusted-templates";
}

bool isTrustedTemplate(const std::string& listFile,
                       const std::string& templatePath) {
  std::string fingerprint;
  if (listFile.empty() || !readFingerprint(templatePath, fingerprint))
    return false;
  const std::string path = canonicalPath(templatePath);
  for (const ListLine& line : readList(listFile))
    if (line.path == path && line.fingerprint == fingerprint) return true;
  return false;
}

bool trustTemplate(const std::string& listFile,
                   const std::string& templatePath, std::string& error) {
  std::string fingerprint;
  if (!readFingerprint(templatePath, fingerprint)) {
    error = "cannot read the template " + templatePath;
    return false;
  }
  if (listFile.empty()) {
    error = "no configuration folder: set HOME or XDG_CONFIG_HOME";
    return false;
  }
  const std::string path = canonicalPath(templatePath);
  std::string text;
  for (const ListLine& line : readList(listFile))
    if (line.path != path) text += line.fingerprint + ' ' + line.path + '\n';
  text += fingerprint + ' ' + path + '\n';
  std::error_code ec;
  fs::create_directories(fs::path(listFile).parent_path(), ec);
  return writeFileAtomically(listFile, text, error);
}

bool isShippedTemplate(const std::string& addinFolder,
                       const std::string& templatePath) {
  if (addinFolder.empty()) return false;
  const fs::path shipped = canonicalPath(addinFolder + "/Templates");
  const fs::path path = canonicalPath(templatePath);
  return path.parent_path() == shipped;
}

bool TemplateTrust::mayRunCommands(const std::string& templatePath) const {
  if (allowCommands || templateGiven ||
      isShippedTemplate(addinFolder, templatePath))
    return true;
  return isTrustedTemplate(listFile.empty() ? trustedTemplatesFile() : listFile,
                           templatePath);
}

}  // namespace scrivlet
