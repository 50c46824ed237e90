// The window classes of the host's custom controls as dialog templates name them: "CustEdit",
// "SpinnerControl", "ColorSwatch" and "CustButton".
#pragma once

namespace quarel_host {

// Registers the classes once per process; later calls do nothing.
void RegisterCustomControlClasses();

}  // namespace quarel_host
