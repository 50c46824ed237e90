# Building against the real host SDK (Windows, Visual Studio): QUAREL_MAX_SDK_DIR names the
# SDK's folder. The stand-in (host/) is then left out and quarel_host stands for the SDK's
# headers and its core, geom, maxutil and ParamBlk2 import libraries. Only the plug-in module
# is built; the preview, the tests and the Windows checks need the stand-in.
set(QUAREL_MAX_SDK_DIR "" CACHE PATH "Folder of the host SDK (include/, lib/x64/Release/); empty: the stand-in")

if(QUAREL_MAX_SDK_DIR)
  if(NOT MSVC)
    message(FATAL_ERROR "QUAREL_MAX_SDK_DIR: the host SDK builds with Visual Studio only")
  endif()
  set(quarel_sdk_lib ${QUAREL_MAX_SDK_DIR}/lib/x64/Release)
  add_library(quarel_win32 INTERFACE)
  target_link_libraries(quarel_win32 INTERFACE user32 gdi32 comctl32)
  add_library(quarel_host INTERFACE)
  target_include_directories(quarel_host INTERFACE ${QUAREL_MAX_SDK_DIR}/include)
  target_link_libraries(quarel_host INTERFACE ${quarel_sdk_lib}/core.lib ${quarel_sdk_lib}/geom.lib
                                              ${quarel_sdk_lib}/maxutil.lib
                                              ${quarel_sdk_lib}/paramblk2.lib quarel_win32)
  # The SDK's headers want Unicode and the 64-bit Windows definitions.
  target_compile_definitions(quarel_host INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()
