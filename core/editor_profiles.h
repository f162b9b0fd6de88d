// The entry data of the four editors.
#pragma once

#include "editor_profile.h"

extern const EditorProfile ratomir_profile;
extern const EditorProfile blankora_profile;
extern const EditorProfile strakel_profile;
extern const EditorProfile gradivo_profile;
