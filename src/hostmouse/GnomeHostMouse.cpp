#ifndef _WIN32

// GIO comes first: its headers name a structure field "signals", which Qt
// defines as a keyword. Only its types are used here; the functions are
// looked up in the library at run time.
#include <gio/gio.h>

#include "hostmouse/GnomeHostMouse.h"
#include "hostmouse/HostMouseTables.h"

#include <QByteArrayView>

#include <memory>

namespace orb
{

// Every GIO, GObject and GLib function the binding calls. The names are
// looked up in libgio, whose own dependencies supply GObject's and GLib's.
#define ORB_GIO_FUNCTIONS(X)                                                                                 \
    X(g_settings_schema_source_get_default)                                                                  \
    X(g_settings_schema_source_ref)                                                                          \
    X(g_settings_schema_source_unref)                                                                        \
    X(g_settings_schema_source_new_from_directory)                                                           \
    X(g_settings_schema_source_lookup)                                                                       \
    X(g_settings_schema_unref)                                                                               \
    X(g_settings_schema_has_key)                                                                             \
    X(g_settings_schema_get_key)                                                                             \
    X(g_settings_schema_key_unref)                                                                           \
    X(g_settings_schema_key_get_value_type)                                                                  \
    X(g_settings_schema_key_range_check)                                                                     \
    X(g_settings_new_full)                                                                                   \
    X(g_settings_get_value)                                                                                  \
    X(g_settings_set_value)                                                                                  \
    X(g_settings_sync)                                                                                       \
    X(g_object_unref)                                                                                        \
    X(g_variant_type_equal)                                                                                  \
    X(g_variant_ref_sink)                                                                                    \
    X(g_variant_unref)                                                                                       \
    X(g_variant_get_type_string)                                                                             \
    X(g_variant_new_double)                                                                                  \
    X(g_variant_new_string)                                                                                  \
    X(g_variant_new_int32)                                                                                   \
    X(g_variant_get_double)                                                                                  \
    X(g_variant_get_string)                                                                                  \
    X(g_variant_get_int32)                                                                                   \
    X(g_clear_error)

struct GioFunctions {
#define ORB_GIO_MEMBER(name) decltype(&::name) name = nullptr;
    ORB_GIO_FUNCTIONS(ORB_GIO_MEMBER)
#undef ORB_GIO_MEMBER
};

namespace
{
constexpr char kMouseSchema[] = "org.gnome.desktop.peripherals.mouse";
constexpr char kSpeed[] = "speed";
constexpr char kAccelProfile[] = "accel-profile";
constexpr char kDoubleClick[] = "double-click";

std::unique_ptr<const GioFunctions> LoadGio(GioLoader& loader)
{
    auto gio = std::make_unique<GioFunctions>();
#define ORB_GIO_RESOLVE(name)                                                                                \
    gio->name = reinterpret_cast<decltype(gio->name)>(loader.resolve(#name));                                \
    if (!gio->name)                                                                                          \
        return nullptr;
    ORB_GIO_FUNCTIONS(ORB_GIO_RESOLVE)
#undef ORB_GIO_RESOLVE
    return gio;
}

// G_VARIANT_TYPE would call into GLib to check the string; GLib's own type
// constants are the type string itself, cast.
const GVariantType* VariantType(const char* type)
{
    return reinterpret_cast<const GVariantType*>(type);
}

// Releases one GIO reference through the loaded function.
template <class Release> struct Releaser {
    Release release = nullptr;
    template <class T> void operator()(T* p) const { release(p); }
};
using SourcePtr =
    std::unique_ptr<GSettingsSchemaSource, Releaser<decltype(GioFunctions::g_settings_schema_source_unref)>>;
using SchemaPtr = std::unique_ptr<GSettingsSchema, Releaser<decltype(GioFunctions::g_settings_schema_unref)>>;
using KeyPtr =
    std::unique_ptr<GSettingsSchemaKey, Releaser<decltype(GioFunctions::g_settings_schema_key_unref)>>;
using SettingsPtr = std::unique_ptr<GSettings, Releaser<decltype(GioFunctions::g_object_unref)>>;
using VariantPtr = std::unique_ptr<GVariant, Releaser<decltype(GioFunctions::g_variant_unref)>>;

SchemaPtr LookupSchema(const GioFunctions& gio, const QString& dir)
{
    SourcePtr source(nullptr, {gio.g_settings_schema_source_unref});
    if (dir.isEmpty()) {
        if (GSettingsSchemaSource* system = gio.g_settings_schema_source_get_default())
            source.reset(gio.g_settings_schema_source_ref(system));
    } else {
        GError* error = nullptr;
        source.reset(gio.g_settings_schema_source_new_from_directory(dir.toLocal8Bit().constData(), nullptr,
                                                                     FALSE, &error));
        gio.g_clear_error(&error);
    }
    if (!source)
        return SchemaPtr(nullptr, {gio.g_settings_schema_unref});
    return SchemaPtr(gio.g_settings_schema_source_lookup(source.get(), kMouseSchema, TRUE),
                     {gio.g_settings_schema_unref});
}

// The mouse settings and one key of them, when the schema has that key with
// the expected type.
struct MouseKey {
    SchemaPtr schema;
    KeyPtr key;
    explicit operator bool() const { return key != nullptr; }
};

MouseKey Lookup(const GioFunctions& gio, const QString& dir, const char* name, const char* type)
{
    MouseKey found{LookupSchema(gio, dir), KeyPtr(nullptr, {gio.g_settings_schema_key_unref})};
    if (!found.schema || !gio.g_settings_schema_has_key(found.schema.get(), name))
        return {};
    found.key.reset(gio.g_settings_schema_get_key(found.schema.get(), name));
    if (!gio.g_variant_type_equal(gio.g_settings_schema_key_get_value_type(found.key.get()),
                                  VariantType(type)))
        return {};
    return found;
}

VariantPtr Read(const GioFunctions& gio, const QString& dir, const char* name, const char* type)
{
    const MouseKey found = Lookup(gio, dir, name, type);
    if (!found)
        return VariantPtr(nullptr, {gio.g_variant_unref});
    const SettingsPtr settings(gio.g_settings_new_full(found.schema.get(), nullptr, nullptr),
                               {gio.g_object_unref});
    return VariantPtr(gio.g_settings_get_value(settings.get(), name), {gio.g_variant_unref});
}

// False when the key is missing or refuses the value (out of its range).
bool Write(const GioFunctions& gio, const QString& dir, const char* name, GVariant* floating)
{
    const VariantPtr value(gio.g_variant_ref_sink(floating), {gio.g_variant_unref});
    const MouseKey found = Lookup(gio, dir, name, gio.g_variant_get_type_string(value.get()));
    if (!found || !gio.g_settings_schema_key_range_check(found.key.get(), value.get()))
        return false;
    const SettingsPtr settings(gio.g_settings_new_full(found.schema.get(), nullptr, nullptr),
                               {gio.g_object_unref});
    const bool ok = gio.g_settings_set_value(settings.get(), name, value.get());
    // Written through before the program may end (Confirm closes it).
    gio.g_settings_sync();
    return ok;
}
} // namespace

LibraryGioLoader::LibraryGioLoader(const QString& name, int version) : library_(name, version)
{
    library_.setLoadHints(QLibrary::PreventUnloadHint);
}

QFunctionPointer LibraryGioLoader::resolve(const char* name)
{
    if (failed_)
        return nullptr;
    if (!library_.isLoaded() && !library_.load()) {
        failed_ = true;
        return nullptr;
    }
    return library_.resolve(name);
}

GioLoader& SystemGioLoader()
{
    static LibraryGioLoader loader;
    return loader;
}

GnomeHostMouseSystem::GnomeHostMouseSystem(QString schemaDir, GioLoader& gio)
    : schemaDir_(std::move(schemaDir)), gio_(LoadGio(gio))
{
}

GnomeHostMouseSystem::~GnomeHostMouseSystem() = default;

bool GnomeHostMouseSystem::schemaInstalled(const QString& schemaDir, GioLoader& loader)
{
    const auto gio = LoadGio(loader);
    return gio && LookupSchema(*gio, schemaDir) != nullptr;
}

bool GnomeHostMouseSystem::setMouseSpeed(int sensitivity)
{
    const auto step = SpeedStepForSensitivity(sensitivity);
    return gio_ && step &&
           Write(*gio_, schemaDir_, kSpeed, gio_->g_variant_new_double(GnomeSpeedForStep(*step)));
}

bool GnomeHostMouseSystem::setMouseAcceleration(int, int, int speed)
{
    return gio_ && Write(*gio_, schemaDir_, kAccelProfile,
                         gio_->g_variant_new_string(speed > 0 ? "adaptive" : "flat"));
}

bool GnomeHostMouseSystem::setDoubleClickTime(int ms)
{
    return gio_ && Write(*gio_, schemaDir_, kDoubleClick, gio_->g_variant_new_int32(ms));
}

std::optional<QString> GnomeHostMouseSystem::currentValue(const QString& name)
{
    if (!gio_)
        return std::nullopt;
    const GioFunctions& gio = *gio_;
    if (name == QLatin1String("MouseSensitivity")) {
        const VariantPtr v = Read(gio, schemaDir_, kSpeed, "d");
        const auto step = v ? StepForGnomeSpeed(gio.g_variant_get_double(v.get())) : std::nullopt;
        if (!step)
            return std::nullopt;
        return QString::number(*SensitivityForStep(*step));
    }
    if (name == QLatin1String("MouseSpeed") || name == QLatin1String("MouseThreshold1") ||
        name == QLatin1String("MouseThreshold2")) {
        const VariantPtr v = Read(gio, schemaDir_, kAccelProfile, "s");
        if (!v)
            return std::nullopt;
        const AccelTriple accel =
            AccelForPrecision(QByteArrayView(gio.g_variant_get_string(v.get(), nullptr)) != "flat");
        if (name == QLatin1String("MouseSpeed"))
            return QString::number(accel.speed);
        return QString::number(name == QLatin1String("MouseThreshold1") ? accel.threshold1
                                                                        : accel.threshold2);
    }
    if (name == QLatin1String("DoubleClickSpeed")) {
        const VariantPtr v = Read(gio, schemaDir_, kDoubleClick, "i");
        if (!v)
            return std::nullopt;
        return QString::number(gio.g_variant_get_int32(v.get()));
    }
    return std::nullopt;
}

bool GnomeHostMouseSystem::reaches(HostSetting setting) const
{
    if (!gio_)
        return false;
    switch (setting) {
    case HostSetting::Speed:
        return bool(Lookup(*gio_, schemaDir_, kSpeed, "d"));
    case HostSetting::Acceleration:
        return bool(Lookup(*gio_, schemaDir_, kAccelProfile, "s"));
    case HostSetting::DoubleClick:
        return bool(Lookup(*gio_, schemaDir_, kDoubleClick, "i"));
    case HostSetting::WheelLines:
        break;
    }
    return false;
}

} // namespace orb

#endif
