#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "model/image/config_image.h"
#include "model/image/string_pool.h"
#include "model/macros/macro_record.h"

namespace korvel {

// What the two configuration holders share: a lock that its owning thread may take again, the
// image and the macro list. Every accessor below that hands out data expects the caller to hold
// Lock() for as long as it uses what it got.
class ConfigHolder {
public:
    ConfigHolder() = default;
    ConfigHolder(const ConfigHolder&) = delete;
    ConfigHolder& operator=(const ConfigHolder&) = delete;

    std::unique_lock<std::recursive_mutex> Lock() const { return std::unique_lock(m_lock); }
    // Owns the lock only when no other thread holds it.
    std::unique_lock<std::recursive_mutex> TryLock() const {
        return std::unique_lock(m_lock, std::try_to_lock);
    }

    ConfigImage* Image() { return m_image.get(); }
    const ConfigImage* Image() const { return m_image.get(); }
    void SetImage(std::unique_ptr<ConfigImage> image) { m_image = std::move(image); }

    std::vector<MacroRecord>& Macros() { return m_macros; }
    const std::vector<MacroRecord>& Macros() const { return m_macros; }
    void SetMacros(std::vector<MacroRecord> macros) { m_macros = std::move(macros); }
    std::uint16_t MacroCount() const { return static_cast<std::uint16_t>(m_macros.size()); }

protected:
    ~ConfigHolder() = default;

    mutable std::recursive_mutex m_lock;
    std::unique_ptr<ConfigImage> m_image;
    std::vector<MacroRecord> m_macros;
};

// The copy every editor works on; texts live in one slot per entry.
class EditingHolder : public ConfigHolder {
public:
    StringSlotTable& Strings() { return m_strings; }
    const StringSlotTable& Strings() const { return m_strings; }
    std::uint32_t StringBytes() const { return m_strings.StringBytes(); }

    // Frees the slot texts, the macros and the image; the slot table itself stays. Takes the lock.
    void Release();

private:
    StringSlotTable m_strings;
};

// The copy the keyboard was last given; texts are packed into one pool.
class ActiveHolder : public ConfigHolder {
public:
    const std::vector<std::uint8_t>& Pool() const { return m_pool; }
    void SetPool(std::vector<std::uint8_t> pool) { m_pool = std::move(pool); }
    std::uint32_t StringBytes() const { return static_cast<std::uint32_t>(m_pool.size()); }

    // Frees the pool, the macros and the image. Takes the lock.
    void Release();

private:
    std::vector<std::uint8_t> m_pool;
};

// The program's two configuration holders, created once and handed to whoever needs them. Lock
// order: the editing lock before the active lock, both before the device exchange lock.
class ConfigStore {
public:
    EditingHolder& EditingConfig() { return m_editing; }
    const EditingHolder& EditingConfig() const { return m_editing; }
    ActiveHolder& ActiveConfig() { return m_active; }
    const ActiveHolder& ActiveConfig() const { return m_active; }

private:
    EditingHolder m_editing;
    ActiveHolder m_active;
};

void ReleaseEditingConfig(ConfigStore& store);

// Builds a default image. intoEditing: it becomes EditingConfig's image (the caller has released
// the previous one) and nothing is written. Otherwise the image alone is written as a profile file
// at path. False when memory runs out or the file cannot be written.
bool CreateDefaultConfig(ConfigStore& store, const std::filesystem::path& path, std::uint8_t flag,
                         bool intoEditing);

// The first step of an apply: copies EditingConfig into ActiveConfig and packs the strings
// (recording their offsets in both images), under both locks. ActiveConfig is then what a
// download sends. False when EditingConfig has no image or memory runs out.
bool StageConfig(ConfigStore& store);

// Position of the first macro of the holder with that id; 0 when none has it.
std::uint16_t MacroIndexById(const ConfigHolder& holder, std::uint16_t id);
// Id of the macro at position in the holder; 0 when position is outside the list.
std::uint16_t MacroIdAt(const ConfigHolder& holder, int position);

}  // namespace korvel
