#include "base/project_settings.h"

namespace scrivlet {

void selectAllModules(ProjectSettings& settings, const VBProject* project) {
  settings.selectedModules.clear();
  if (!project) return;
  for (VBComponent* component : project->VBComponents()) {
    int type = component->Type();
    if (type < 1 || type > 11 || type == vbext_ct_ResFile ||
        type == vbext_ct_RelatedDocument)
      continue;
    if (CodeModule* module = component->CodeModule())
      settings.selectedModules.add(module->Name(), module);
  }
}

}  // namespace scrivlet
