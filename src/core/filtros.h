// Key filters applied to every key typed into an entry field, before the field sees it. Each
// takes the key's character code and returns the code to let through; 0 swallows the key.
#pragma once

namespace corvalo {

int SoloNumeros(int codigo);
int FiltroMayusculas(int codigo); // codes of the Windows-1252 character set

} // namespace corvalo
