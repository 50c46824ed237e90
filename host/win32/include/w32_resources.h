// How a module built for the Win32 stand-in carries its resources.
//
// On Windows, strings and dialog templates are compiled into the module by the resource
// compiler and found through the module's instance handle. Under the stand-in, a module exports
// one C function, `W32StandInModuleResources`, returning the tables below; `LoadStringW`,
// `FindResource`-style lookups and rollout creation reach them through the instance handle the
// host gave the module. One data source produces both these tables and the Windows resource
// script, so the two builds cannot drift apart.
#pragma once

#include <cstdint>

struct W32StringResource {
    std::uint32_t id;
    const wchar_t* text;
};

// One control of a dialog template, in dialog units as in a resource script.
struct W32DialogItem {
    std::uint32_t id;         // control id (0xFFFF or -1 for static labels)
    const char* windowClass;  // "BUTTON", "EDIT", "STATIC", "COMBOBOX", "CustEdit", ...
    const wchar_t* text;
    std::uint32_t style;  // WS_* | class styles
    std::uint32_t exStyle;
    std::int16_t x, y, cx, cy;
};

struct W32DialogResource {
    std::uint32_t id;
    const wchar_t* caption;
    std::uint32_t style;
    std::int16_t cx, cy;
    const W32DialogItem* items;
    std::uint32_t itemCount;
};

struct W32ModuleResources {
    std::uint32_t version;  // kW32ResourcesVersion
    const W32StringResource* strings;
    std::uint32_t stringCount;
    const W32DialogResource* dialogs;
    std::uint32_t dialogCount;
};

constexpr std::uint32_t kW32ResourcesVersion = 1;

// Name of the export a module provides; the stand-in looks it up with dlsym.
#define W32_MODULE_RESOURCES_EXPORT "W32StandInModuleResources"
extern "C" typedef const W32ModuleResources* (*W32ModuleResourcesFn)();
