#include "editor_profiles.h"

const EditorProfile ratomir_profile = {
    "ratomir.dlg",
    LibraryTable::feeds,
    true,
    "База 'Подач и скоростей' НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
    false,
    " Невозможно загрузить 'ratomir.dlg' \n Ошибка выделения памяти ?...",
    true,
    true,
};

const EditorProfile blankora_profile = {
    "blankora.dlg",
    LibraryTable::part_materials,
    false,
    "База Материала НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
    true,
    " Невозможно загрузить 'blankora.dlg'  ...",
    true,
    false,
};

const EditorProfile strakel_profile = {
    "strakel.dlg",
    LibraryTable::cut_methods,
    false,
    "База Методов резания НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
    true,
    " Невозможно загрузить 'strakel.dlg'  ...",
    true,
    false,
};

const EditorProfile gradivo_profile = {
    "gradivo.dlg",
    LibraryTable::tool_materials,
    false,
    "База Материала Инструмента НЕ доступна или НЕ существует \n обратитесь к системному администратору.",
    true,
    nullptr,
    false,
    false,
};
