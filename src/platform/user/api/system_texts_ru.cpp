#include "platform/user/api/system_texts.h"

namespace qv {

namespace {

using enum SystemTextId;

constexpr TextEntry<SystemTextId> kTexts[] = {
    {ErrorCaption, u"Ошибка"},
    {OpenTitle, u"Открыть"},
    {UpButton, u"Вверх"},
    {CancelButton, u"Отмена"},
    {FileType, u"Тип: %1"},
    {FolderUnreadable, u"Эту папку не удалось прочитать."},
    {FilesCut, u"Показаны не все файлы."},
    {NoMapFiles, u"Здесь нет файлов карт."},
};

}  // namespace

std::span<const TextEntry<SystemTextId>> RussianSystemTexts() {
    return kTexts;
}

}  // namespace qv
