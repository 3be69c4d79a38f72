// The Enum and Type blocks of a module's declarations section. The object
// model does not list them among a module's members, so they are read from
// the module's lines:
//
//   '**                            <- the block's comment, as for a member
//   ' Colours of a pen.
//   Public Enum PenColour          <- name PenColour, Public, line 3
//       '**
//       ' No colour at all.
//       pcNone = -1                <- item pcNone, value "-1", documented
//       pcRed = &H10 ' Pure red.   <- item pcRed, value "&H10", documented
//       pcBlue                     <- item pcBlue, no value
//   End Enum
//
//   Private Type Span
//       Label As String * 20       <- item Label, value "String * 20"
//       Points(1 To 4) As Long     <- item Points(1 To 4), value "Long"
//   End Type
//
// Keywords are matched without regard to case, as the environment reads
// them; names and values keep the bytes they are written with.
#ifndef SCRIVLET_SOURCE_DECLARED_BLOCKS_H_
#define SCRIVLET_SOURCE_DECLARED_BLOCKS_H_

#include <memory>
#include <string>
#include <vector>

#include "base/vbide.h"
#include "source/elements.h"

namespace scrivlet {

struct BlockItem {
  std::string name;
  // An enum value's explicit value ("" when it has none); a field's
  // declared type.
  std::string value;
  // Its documentation, each line without its apostrophe: the "'**" block
  // above the item, else the comment at the end of its line.
  std::vector<std::string> comment;
  long line = 0;
};

struct DeclaredBlock {
  bool isEnum = true;
  std::string name;
  // `vbext_Private` or `vbext_Public`: a block without a scope keyword is
  // public.
  int scope = vbext_Public;
  long line = 0;         // the physical line of its Enum or Type statement
  long logicalLine = 0;  // the same counted as the object model counts
  long endLine = 0;      // its End line, or the last line read
  // Its statements, one per physical line, without comment lines, blank
  // lines or comments at the ends of lines.
  std::vector<std::string> declaration;
  // In the order written. A name declared again in another branch of an
  // "#If" is listed once, where it was first declared.
  std::vector<BlockItem> items;
};

// Every Enum and Type block of the declarations section, in order.
std::vector<DeclaredBlock> findDeclaredBlocks(const CodeModule& module);

// Stands in for a member where an element documents a block: its name,
// scope and line as a member would give them. Help numbers and
// descriptions have no place in the code for a block: they are not kept.
class BlockMember : public Member {
 public:
  BlockMember(std::shared_ptr<const DeclaredBlock> block, CodeModule* module)
      : block_(std::move(block)), module_(module) {}
  std::string Name() const override { return block_->name; }
  int Type() const override { return 0; }
  int Scope() const override { return block_->scope; }
  long CodeLocation() const override { return block_->logicalLine; }
  std::string Description() const override { return ""; }
  void setDescription(const std::string&) override {}
  long HelpContextID() const override { return 0; }
  void setHelpContextID(long) override {}
  scrivlet::CodeModule* Parent() const override { return module_; }

  const DeclaredBlock& block() const { return *block_; }

 private:
  std::shared_ptr<const DeclaredBlock> block_;
  CodeModule* module_;
};

// The block an Enum or Type element documents; none for other elements.
const DeclaredBlock* declaredBlockOf(const Element& element);

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_DECLARED_BLOCKS_H_
