// The first start on a workstation: what is missing (settings file, print settings, the local
// report database), told in words a technician understands, and the offer to create the local
// report database.
#pragma once

#include "opciones.h"

namespace corvalo {

enum class EstadoBdLocal { Presente, Falta, SinServidor };

// Connects to the workstation's server without a database and looks for bd_corvalo.
EstadoBdLocal estadoBdLocal(Contexto &ctx);

// The points of the notice, one text each; empty when nothing is missing.
QStringList faltantesPuesto(const OpcionesSesion &o, bool hayAjustesImpresion, EstadoBdLocal bd,
                            const QString &cadenaLocal);

inline const QString kTituloPuestoSinPreparar = QStringLiteral("PUESTO SIN PREPARAR");

// When no settings file sets a value or the print-settings file is missing: the notice with
// every missing point, then, when only the database is missing on a server that answers, the
// offer of the access codes. Returns whether the notice was shown.
bool avisarPuestoSinPreparar(Contexto &ctx, const OpcionesSesion &o);

} // namespace corvalo
