// Runs of the store test plug-in, which enters as one of the editors, lists its
// table by reference and loads (button 4) or saves (button 5) it.
#pragma once

#include <string>

#include "host_run.h"

inline HostRunOptions storekeeper_run(const std::string& editor, const ScratchDirectory& library,
                                      const std::string& script) {
    HostRunOptions options;
    options.plugins = {STOREKEEPER};
    options.parameter = editor;
    options.script = script;
    options.environment["UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR"] = library.with_separator();
    return options;
}

inline const std::string save_and_close = "press BLO_ACT 5\nanswer yes\nok\n";

// What the user sees of a save, as the transcript records it.
inline const std::string save_question =
    "box question owner=ratomir.dlg caption=\"Сохранение ...\" text=\"Вы уверены, что хотите сохранить Ваши "
    "изменения ?\\n Мы сильно рекомендуем перед сохранением базы - сделать ее копию\\n используя функцию "
    "экспорта...\" buttons=yes/NO";

inline std::string saved_box(const std::string& owner, int rows) {
    return "box information owner=" + owner + ".dlg caption=\"Сохранение ...\" text=\"База сохранена...\\n Всего "
           "записано " + std::to_string(rows) + " - элементов.\" -> ok";
}

inline std::string cannot_save_box(const std::string& owner) {
    return "box error owner=" + owner + ".dlg caption=\"Ошибка - Сохранить Базу\" text=\" Невозможно сохранить "
           "Базу\\n Обратитесь к сист. администратору\" -> ok";
}
