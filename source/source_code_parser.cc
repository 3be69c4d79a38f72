#include "source/source_code_parser.h"

#include <exception>

#include "base/keyed_collection.h"
#include "base/text.h"
#include "source/declared_blocks.h"
#include "source/proc_definition.h"
#include "source/quotes.h"
#include "source/source_lines.h"

namespace scrivlet {

namespace {

// Items under their own text, each once (case ignored), in order of arrival.
class NameSet {
 public:
  void add(const std::string& name) {
    if (!name.empty()) names_.add(name, name);
  }
  std::vector<std::string> list() const {
    std::vector<std::string> out;
    for (const auto& entry : names_) out.push_back(entry.item);
    return out;
  }

 private:
  KeyedCollection<std::string> names_;
};

// Standard modules, resource files and related documents are not classes.
bool isProjectClass(const VBComponent& component) {
  switch (component.Type()) {
    case vbext_ct_ClassModule:
    case vbext_ct_MSForm:
    case vbext_ct_VBForm:
    case vbext_ct_VBMDIForm:
    case vbext_ct_PropPage:
    case vbext_ct_UserControl:
    case vbext_ct_DocObject:
    case vbext_ct_ActiveXDesigner:
      return component.CodeModule() != nullptr;
    default:
      return false;
  }
}

std::vector<const CodeModule*> projectClasses(const VBE& ide) {
  std::vector<const CodeModule*> classes;
  const VBProject* project = ide.ActiveVBProject();
  if (!project) return classes;
  for (const VBComponent* component : project->VBComponents()) {
    try {
      if (component && isProjectClass(*component))
        classes.push_back(component->CodeModule());
    } catch (const std::exception&) {
    }
  }
  return classes;
}

std::vector<std::string> projectClassNames(const VBE& ide) {
  std::vector<std::string> names;
  for (const CodeModule* module : projectClasses(ide)) {
    try {
      names.push_back(module->Name());
    } catch (const std::exception&) {
    }
  }
  return names;
}

// The declarations section as statements. `Lines` joins with CR LF.
std::vector<std::string> declarationStatements(const CodeModule& module) {
  long count = module.CountOfDeclarationLines();
  if (count <= 0) return {};
  return SourceCodeParser::splitStatements(module.Lines(1, count), "\r\n");
}

// ", "-separated declarators outside string literals, as the environment
// writes "Dim a As Long, b As New Collection".
std::vector<std::string> declarators(std::string list) {
  std::vector<std::string> parts;
  while (!list.empty()) {
    std::size_t comma = findOutsideQuotes(list, ", ", 1);
    if (comma == 0) {
      parts.push_back(list);
      break;
    }
    parts.push_back(list.substr(0, comma - 1));
    list.erase(0, comma + 1);
  }
  return parts;
}

// The types in the element's own declaration: a variable's type, a
// constant's value text, a procedure's argument and return types.
void addDeclaredTypes(const Element& element, NameSet& types) {
  if (element.kind() == ElementKind::Smodule || !element.cmo) return;
  ProcDefinition declaration;
  declaration.pLine = statementText(*element.cmo, element.CodeLocation());
  switch (element.kind()) {
    case ElementKind::Svariable:
      declaration.parseVariableReturn();
      types.add(declaration.returns);
      return;
    case ElementKind::Sconstant:
      declaration.parseConstantReturn();
      types.add(declaration.returns);
      return;
    case ElementKind::Senum:
      return;
    case ElementKind::Stype:
      if (const DeclaredBlock* block = declaredBlockOf(element))
        for (const BlockItem& field : block->items) types.add(field.value);
      return;
    default:
      declaration.parse();
      for (const argument& a : declaration.args) types.add(a.aType);
      types.add(declaration.returns);
  }
}

// The declarator list of a Dim, Private, Public or Static statement, or
// nothing. Procedure and constant declarations pass too; what they yield is
// no class name and is dropped by the filter.
bool declaratorList(const std::string& statement, std::string& list) {
  for (std::string_view word : {"Dim ", "Private ", "Public ", "Static "}) {
    if (startsWith(statement, word)) {
      list = leftTrim(std::string_view(statement).substr(word.size()));
      return true;
    }
  }
  return false;
}

void addVariableTypes(const std::vector<std::string>& statements,
                      NameSet& types) {
  for (const std::string& piece : statements) {
    std::string list;
    if (!declaratorList(leftTrim(piece), list)) continue;
    for (std::string& text : declarators(stripTrailingComment(list))) {
      argument variable;
      variable.parseVariable(std::move(text));
      std::string_view type = variable.aType;
      if (startsWith(type, "New ")) type.remove_prefix(4);
      types.add(std::string(type));
    }
  }
}

}  // namespace

std::vector<std::string> SourceCodeParser::splitStatements(
    std::string_view text, std::string_view sep) {
  std::vector<std::string> pieces = split(text, sep);
  const std::size_t none = pieces.size();
  std::size_t pending = none;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    std::string piece = leftTrim(pieces[i]);
    bool continued = endsWith(piece, " _");
    if (continued) piece.pop_back();
    if (pending == none) {
      if (continued) {
        pieces[i] = piece;
        pending = i;
      }
      continue;
    }
    pieces[pending] += piece;
    pieces[i].clear();
    if (!continued) pending = none;
  }
  return pieces;
}

std::vector<std::string> SourceCodeParser::getImplements(
    const CodeModule& module) {
  std::vector<std::string> names;
  try {
    for (const std::string& piece : declarationStatements(module)) {
      std::string statement = leftTrim(piece);
      if (!startsWith(statement, "Implements ")) continue;
      names.push_back(stripTrailingComment(
                          leftTrim(std::string_view(statement).substr(11))) +
                      CR);
    }
  } catch (const std::exception&) {
  }
  return names;
}

std::vector<std::string> SourceCodeParser::getWhoImplements(
    const CodeModule& module, const VBE& ide) {
  NameSet implementers;
  try {
    std::string key = module.Name() + CR;
    for (const CodeModule* candidate : projectClasses(ide)) {
      try {
        if (!isStringInCollection(key, getImplements(*candidate)).empty())
          implementers.add(candidate->Name());
      } catch (const std::exception&) {
      }
    }
  } catch (const std::exception&) {
  }
  return implementers.list();
}

std::string SourceCodeParser::isStringInCollection(
    std::string_view text, const std::vector<std::string>& collection) {
  for (const std::string& item : collection)
    if (equalsNoCase(item, text)) return item;
  return std::string();
}

std::vector<std::string> SourceCodeParser::getUsedObjects(
    const Element& element, std::string_view sourceCode) {
  NameSet types;
  try {
    std::vector<std::string> statements =
        element.kind() == ElementKind::Smodule
            ? (element.cmo ? declarationStatements(*element.cmo)
                           : std::vector<std::string>())
            : splitStatements(sourceCode, std::string(1, CR));
    try {
      addDeclaredTypes(element, types);
    } catch (const std::exception&) {
    }
    addVariableTypes(statements, types);
  } catch (const std::exception&) {
  }
  return types.list();
}

std::vector<std::string> SourceCodeParser::filterProjectClasses(
    const std::vector<std::string>& names, const VBE& ide) {
  NameSet classes;
  try {
    std::vector<std::string> known = projectClassNames(ide);
    for (const std::string& name : names)
      classes.add(isStringInCollection(name, known));
  } catch (const std::exception&) {
  }
  return classes.list();
}

std::vector<std::string> interestingReferences(const Element& element,
                                               const VBE& ide,
                                               std::string_view sourceCode) {
  KeyedCollection<std::string> entries;
  auto addMarked = [&](const std::vector<std::string>& names,
                       const char* mark) {
    for (const std::string& name :
         SourceCodeParser::filterProjectClasses(names, ide))
      entries.add(name, name + mark);
  };
  if (element.kind() == ElementKind::Smodule && element.cmo) {
    std::vector<std::string> implemented;
    for (std::string name : SourceCodeParser::getImplements(*element.cmo)) {
      name.pop_back();  // the CR that ends every item
      implemented.push_back(name);
    }
    addMarked(implemented, " [implemented]");
    addMarked(SourceCodeParser::getWhoImplements(*element.cmo, ide),
              " [implements]");
  }
  addMarked(SourceCodeParser::getUsedObjects(element, sourceCode), " [used]");

  std::vector<std::string> out;
  for (const auto& entry : entries) out.push_back(entry.item);
  return out;
}

}  // namespace scrivlet
