// blankora: the part-material editor, which edits part_materials.dat in the
// fields of its main dialog.
#pragma once

#include "command_set.h"
#include "uf.h"

extern const Editor part_material_editor;

void partmat_listing();

int partmat_construct_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
int partmat_show_record_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
int partmat_action_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
int partmat_command_cb(int dialog, void* client_data, UF_STYLER_item_value_type_p_t callback_data);
