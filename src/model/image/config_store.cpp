#include "model/image/config_store.h"

#include <new>

#include "base/file_io.h"

namespace korvel {

void EditingHolder::Release() {
    auto lock = Lock();
    m_strings.Clear();
    m_macros.clear();
    m_macros.shrink_to_fit();
    m_image.reset();
}

void ActiveHolder::Release() {
    auto lock = Lock();
    m_pool.clear();
    m_pool.shrink_to_fit();
    m_macros.clear();
    m_macros.shrink_to_fit();
    m_image.reset();
}

void ReleaseEditingConfig(ConfigStore& store) {
    store.EditingConfig().Release();
}

bool CreateDefaultConfig(ConfigStore& store, const std::filesystem::path& path, std::uint8_t flag,
                         bool intoEditing) {
    std::unique_ptr<ConfigImage> image = CreateDefaultImage(flag);
    if (!image) {
        return false;
    }
    if (intoEditing) {
        EditingHolder& editing = store.EditingConfig();
        auto lock = editing.Lock();
        editing.SetImage(std::move(image));
        return true;
    }
    try {
        ByteWriter writer;
        WriteConfigImage(writer, *image);
        return static_cast<bool>(ReplaceFile(path, writer.Bytes()));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool StageConfig(ConfigStore& store) {
    EditingHolder& editing = store.EditingConfig();
    ActiveHolder& active = store.ActiveConfig();
    auto editingLock = editing.Lock();
    auto activeLock = active.Lock();
    if (editing.Image() == nullptr) {
        return false;
    }
    active.Release();
    try {
        auto image = std::make_unique<ConfigImage>(*editing.Image());
        InitConfigHeader(*image, editing.MacroCount(), editing.StringBytes(), 0);
        ConfigImage& activeImage = *image;
        active.SetImage(std::move(image));
        active.SetMacros(editing.Macros());
        active.SetPool(PackStringPool(activeImage, editing.Strings(), editing.StringBytes()));
        // Both copies carry the same offsets, so a file saved from either finds its texts.
        for (int k = 0; k < kConfigEntries; ++k) {
            if (HasEntryText(activeImage.Entry(k).type)) {
                editing.Image()->Entry(k).value = activeImage.Entry(k).value;
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::uint16_t MacroIndexById(const ConfigHolder& holder, std::uint16_t id) {
    auto lock = holder.Lock();
    const auto& macros = holder.Macros();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        if (macros[i].macroId == id) {
            return static_cast<std::uint16_t>(i);
        }
    }
    return 0;
}

std::uint16_t MacroIdAt(const ConfigHolder& holder, int position) {
    auto lock = holder.Lock();
    const auto& macros = holder.Macros();
    if (position < 0 || static_cast<std::size_t>(position) >= macros.size()) {
        return 0;
    }
    return macros[static_cast<std::size_t>(position)].macroId;
}

}  // namespace korvel
