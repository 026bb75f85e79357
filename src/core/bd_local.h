// The workstation's local report database bd_corvalo: create, re-create and drop it.
#pragma once

#include "contexto.h"

namespace corvalo {

// The server-level string (no database) and the database string derived from the local
// connection string of the context.
QString cadenaServidorLocal(const QString &cadenaLocal);
QString cadenaBaseLocal(const QString &cadenaLocal);

// Creates bd_corvalo and its tables; `puestoNumerico` picks the variant of rpt_jugadas whose
// `puesto` column is a double. A failing statement stops it and throws DbError.
void crear_bd_local(Contexto &ctx, bool puestoNumerico = false);
// Drops bd_corvalo, then creates it with the numeric `puesto`.
void recrear_bd_local(Contexto &ctx);
// "drop DATABASE `bd_corvalo`;" on the open local connection.
void soltar_bd_local(Contexto &ctx);

// The statements run by crear_bd_local, in order (the first on the server-level connection).
QStringList sentenciasCrearBdLocal(bool puestoNumerico, const QString &servidorPredeterminado);

// The prompt offered when the local report database is missing (access codes "40917" and
// "82365"). Every outcome but a creation is said on screen; true when the database was created
// and opened.
bool ofrecer_bd_local(Contexto &ctx);
// The main window's "Borrar BD Local" command: asked with No as the default answer; a failure is
// said on screen and a failed drop leaves the local connection as it was. True when done.
bool borrar_bd_local(Contexto &ctx);

} // namespace corvalo
