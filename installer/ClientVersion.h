#pragma once
// The client version this installer carries: the name of its version folder in the install folder.

constexpr const wchar_t* kClientVersionFolder = L"8.7.0.1";
