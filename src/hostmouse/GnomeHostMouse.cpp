#ifndef _WIN32

// GIO comes first: its headers name a structure field "signals", which Qt
// defines as a keyword.
#include <gio/gio.h>

#include "hostmouse/GnomeHostMouse.h"
#include "hostmouse/HostMouseTables.h"

#include <memory>

namespace orb
{
namespace
{
constexpr char kMouseSchema[] = "org.gnome.desktop.peripherals.mouse";
constexpr char kSpeed[] = "speed";
constexpr char kAccelProfile[] = "accel-profile";
constexpr char kDoubleClick[] = "double-click";

struct SourceUnref {
    void operator()(GSettingsSchemaSource* p) const { g_settings_schema_source_unref(p); }
};
struct SchemaUnref {
    void operator()(GSettingsSchema* p) const { g_settings_schema_unref(p); }
};
struct KeyUnref {
    void operator()(GSettingsSchemaKey* p) const { g_settings_schema_key_unref(p); }
};
struct ObjectUnref {
    void operator()(gpointer p) const { g_object_unref(p); }
};
struct VariantUnref {
    void operator()(GVariant* p) const { g_variant_unref(p); }
};
using SchemaPtr = std::unique_ptr<GSettingsSchema, SchemaUnref>;
using KeyPtr = std::unique_ptr<GSettingsSchemaKey, KeyUnref>;
using SettingsPtr = std::unique_ptr<GSettings, ObjectUnref>;
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

SchemaPtr LookupSchema(const QString& dir)
{
    std::unique_ptr<GSettingsSchemaSource, SourceUnref> source;
    if (dir.isEmpty()) {
        if (GSettingsSchemaSource* system = g_settings_schema_source_get_default())
            source.reset(g_settings_schema_source_ref(system));
    } else {
        GError* error = nullptr;
        source.reset(g_settings_schema_source_new_from_directory(dir.toLocal8Bit().constData(), nullptr,
                                                                 FALSE, &error));
        g_clear_error(&error);
    }
    if (!source)
        return {};
    return SchemaPtr(g_settings_schema_source_lookup(source.get(), kMouseSchema, TRUE));
}

// The mouse settings and one key of them, when the schema has that key with
// the expected type.
struct MouseKey {
    SchemaPtr schema;
    KeyPtr key;
    explicit operator bool() const { return key != nullptr; }
};

MouseKey Lookup(const QString& dir, const char* name, const char* type)
{
    MouseKey found{LookupSchema(dir), nullptr};
    if (!found.schema || !g_settings_schema_has_key(found.schema.get(), name))
        return {};
    found.key.reset(g_settings_schema_get_key(found.schema.get(), name));
    if (!g_variant_type_equal(g_settings_schema_key_get_value_type(found.key.get()), G_VARIANT_TYPE(type)))
        return {};
    return found;
}

VariantPtr Read(const QString& dir, const char* name, const char* type)
{
    const MouseKey found = Lookup(dir, name, type);
    if (!found)
        return {};
    const SettingsPtr settings(g_settings_new_full(found.schema.get(), nullptr, nullptr));
    return VariantPtr(g_settings_get_value(settings.get(), name));
}

// False when the key is missing or refuses the value (out of its range).
bool Write(const QString& dir, const char* name, GVariant* floating)
{
    const VariantPtr value(g_variant_ref_sink(floating));
    const MouseKey found = Lookup(dir, name, g_variant_get_type_string(value.get()));
    if (!found || !g_settings_schema_key_range_check(found.key.get(), value.get()))
        return false;
    const SettingsPtr settings(g_settings_new_full(found.schema.get(), nullptr, nullptr));
    const bool ok = g_settings_set_value(settings.get(), name, value.get());
    // Written through before the program may end (Confirm closes it).
    g_settings_sync();
    return ok;
}
} // namespace

bool GnomeHostMouseSystem::schemaInstalled(const QString& schemaDir)
{
    return LookupSchema(schemaDir) != nullptr;
}

bool GnomeHostMouseSystem::setMouseSpeed(int sensitivity)
{
    const auto step = SpeedStepForSensitivity(sensitivity);
    return step && Write(schemaDir_, kSpeed, g_variant_new_double(GnomeSpeedForStep(*step)));
}

bool GnomeHostMouseSystem::setMouseAcceleration(int, int, int speed)
{
    return Write(schemaDir_, kAccelProfile, g_variant_new_string(speed > 0 ? "adaptive" : "flat"));
}

bool GnomeHostMouseSystem::setDoubleClickTime(int ms)
{
    return Write(schemaDir_, kDoubleClick, g_variant_new_int32(ms));
}

std::optional<QString> GnomeHostMouseSystem::currentValue(const QString& name)
{
    if (name == QLatin1String("MouseSensitivity")) {
        const VariantPtr v = Read(schemaDir_, kSpeed, "d");
        const auto step = v ? StepForGnomeSpeed(g_variant_get_double(v.get())) : std::nullopt;
        if (!step)
            return std::nullopt;
        return QString::number(*SensitivityForStep(*step));
    }
    if (name == QLatin1String("MouseSpeed") || name == QLatin1String("MouseThreshold1") ||
        name == QLatin1String("MouseThreshold2")) {
        const VariantPtr v = Read(schemaDir_, kAccelProfile, "s");
        if (!v)
            return std::nullopt;
        const AccelTriple accel =
            AccelForPrecision(g_strcmp0(g_variant_get_string(v.get(), nullptr), "flat") != 0);
        if (name == QLatin1String("MouseSpeed"))
            return QString::number(accel.speed);
        return QString::number(name == QLatin1String("MouseThreshold1") ? accel.threshold1
                                                                        : accel.threshold2);
    }
    if (name == QLatin1String("DoubleClickSpeed")) {
        const VariantPtr v = Read(schemaDir_, kDoubleClick, "i");
        if (!v)
            return std::nullopt;
        return QString::number(g_variant_get_int32(v.get()));
    }
    return std::nullopt;
}

bool GnomeHostMouseSystem::reaches(HostSetting setting) const
{
    switch (setting) {
    case HostSetting::Speed:
        return bool(Lookup(schemaDir_, kSpeed, "d"));
    case HostSetting::Acceleration:
        return bool(Lookup(schemaDir_, kAccelProfile, "s"));
    case HostSetting::DoubleClick:
        return bool(Lookup(schemaDir_, kDoubleClick, "i"));
    case HostSetting::WheelLines:
        break;
    }
    return false;
}

} // namespace orb

#endif
