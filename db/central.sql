/*
  Corvalo central database: the reference schema.

  The back-office maintains the race card, results, users, groups, limits and settings; the
  workstations read them, write tickets, mark tickets paid and record logins.

  Every statement of the workstations writes its values as quoted text (numbers included)
  and runs under STRICT_TRANS_TABLES, so every column that a positional INSERT fills with ''
  is text and every column has a default for inserts that name their columns.

  Byte strings (the ticket keys llave1..llave4 and usuarios.clave) are VARBINARY: the
  scrambled texts use every code 0..255, NUL and trailing blanks included, and must come
  back byte for byte.

  Dates that are compared as dates are DATE; times of day are the workstation's text.
*/

/* Today's tickets of games 1 (Tablas Dinamicas), 2 (Tabla Fija) and 3 (Los Puestos).
   The sale inserts positionally: keep the column order. Numbers stay below 1000000000, where
   the Marcas numbers start (ma_marcas). */
CREATE TABLE `ma_principal` (
  `numero` int(11) NOT NULL AUTO_INCREMENT,
  `carrera` int(11) NOT NULL DEFAULT 0,
  `caballo` int(11) NOT NULL DEFAULT 0,
  `monto` double NOT NULL DEFAULT 0,
  `tablas` double NOT NULL DEFAULT 0,
  `puesto` double NOT NULL DEFAULT 0,
  `taquilla` varchar(45) NOT NULL DEFAULT '',
  `grupo` varchar(45) NOT NULL DEFAULT '',
  `hora` varchar(30) NOT NULL DEFAULT '',
  `fecha` date DEFAULT NULL,
  `cobrado` double NOT NULL DEFAULT 0,
  `fecha_cobro` varchar(10) NOT NULL DEFAULT '',
  `estatus` int(11) NOT NULL DEFAULT 0,
  `nu_boleto` varchar(25) NOT NULL DEFAULT '',
  `id_juego` int(11) NOT NULL DEFAULT 0,
  `id_moneda` int(11) NOT NULL DEFAULT 0,
  `llave1` varbinary(100) NOT NULL DEFAULT '',
  `llave2` varbinary(100) NOT NULL DEFAULT '',
  `llave3` varbinary(100) NOT NULL DEFAULT '',
  `llave4` varbinary(100) NOT NULL DEFAULT '',
  PRIMARY KEY (`numero`),
  KEY `ix_nu_boleto` (`nu_boleto`),
  KEY `ix_taquilla_fecha` (`taquilla`, `fecha`, `numero`),
  KEY `ix_taquilla_numero` (`taquilla`, `numero`),
  KEY `ix_carrera_fecha` (`carrera`, `fecha`),
  KEY `ix_grupo_caballo` (`grupo`, `caballo`, `carrera`, `fecha`, `id_juego`, `id_moneda`, `tablas`, `monto`),
  KEY `ix_fecha_grupo` (`fecha`, `grupo`),
  /* The reports: a group's day by booth and race, a booth's and a race's prizes, read from the index alone. */
  KEY `ix_reporte_grupo` (`fecha`, `grupo`, `id_moneda`, `id_juego`, `taquilla`, `carrera`, `estatus`, `monto`, `cobrado`),
  KEY `ix_reporte_taquilla` (`taquilla`, `fecha`, `id_moneda`, `estatus`, `id_juego`, `cobrado`),
  KEY `ix_reporte_carrera` (`grupo`, `fecha`, `carrera`, `id_moneda`, `estatus`, `id_juego`, `cobrado`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* Earlier days' tickets of games 1 to 3: same columns as ma_principal. */
CREATE TABLE `ventas` (
  `numero` int(11) NOT NULL AUTO_INCREMENT,
  `carrera` int(11) NOT NULL DEFAULT 0,
  `caballo` int(11) NOT NULL DEFAULT 0,
  `monto` double NOT NULL DEFAULT 0,
  `tablas` double NOT NULL DEFAULT 0,
  `puesto` double NOT NULL DEFAULT 0,
  `taquilla` varchar(45) NOT NULL DEFAULT '',
  `grupo` varchar(45) NOT NULL DEFAULT '',
  `hora` varchar(30) NOT NULL DEFAULT '',
  `fecha` date DEFAULT NULL,
  `cobrado` double NOT NULL DEFAULT 0,
  `fecha_cobro` varchar(10) NOT NULL DEFAULT '',
  `estatus` int(11) NOT NULL DEFAULT 0,
  `nu_boleto` varchar(25) NOT NULL DEFAULT '',
  `id_juego` int(11) NOT NULL DEFAULT 0,
  `id_moneda` int(11) NOT NULL DEFAULT 0,
  `llave1` varbinary(100) NOT NULL DEFAULT '',
  `llave2` varbinary(100) NOT NULL DEFAULT '',
  `llave3` varbinary(100) NOT NULL DEFAULT '',
  `llave4` varbinary(100) NOT NULL DEFAULT '',
  PRIMARY KEY (`numero`),
  KEY `ix_nu_boleto` (`nu_boleto`),
  KEY `ix_taquilla_fecha` (`taquilla`, `fecha`, `numero`),
  KEY `ix_carrera_fecha` (`carrera`, `fecha`),
  KEY `ix_grupo_caballo` (`grupo`, `caballo`, `carrera`, `fecha`),
  KEY `ix_fecha_grupo` (`fecha`, `grupo`),
  KEY `ix_reporte_grupo` (`fecha`, `grupo`, `id_moneda`, `id_juego`, `taquilla`, `carrera`, `estatus`, `monto`, `cobrado`),
  KEY `ix_reporte_taquilla` (`taquilla`, `fecha`, `id_moneda`, `estatus`, `id_juego`, `cobrado`),
  KEY `ix_reporte_carrera` (`grupo`, `fecha`, `carrera`, `id_moneda`, `estatus`, `id_juego`, `cobrado`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* Tickets of game 4 (Marcas), sold on the operator screen. Positional insert as well.
   A Marcas code is "4" + MMDD + numero, as a Tablas Dinamicas code is: Marcas numbers start at
   1000000000, above every ma_principal number, so no two tickets of a day share a code. */
CREATE TABLE `ma_marcas` (
  `numero` int(11) NOT NULL AUTO_INCREMENT,
  `carrera` int(11) NOT NULL DEFAULT 0,
  `caballo` int(11) NOT NULL DEFAULT 0,
  `caballo2` int(11) NOT NULL DEFAULT 0,
  `monto` double NOT NULL DEFAULT 0,
  `taquilla` varchar(45) NOT NULL DEFAULT '',
  `grupo` varchar(45) NOT NULL DEFAULT '',
  `hora` varchar(30) NOT NULL DEFAULT '',
  `fecha` date DEFAULT NULL,
  `cobrado` double NOT NULL DEFAULT 0,
  `fecha_cobro` varchar(10) NOT NULL DEFAULT '',
  `estatus` int(11) NOT NULL DEFAULT 0,
  `nu_boleto` varchar(25) NOT NULL DEFAULT '',
  `id_juego` int(11) NOT NULL DEFAULT 4,
  `id_moneda` int(11) NOT NULL DEFAULT 0,
  `id_hipodromo` int(11) NOT NULL DEFAULT 0,
  `combinacion` varchar(15) NOT NULL DEFAULT '',
  PRIMARY KEY (`numero`),
  KEY `ix_nu_boleto` (`nu_boleto`),
  KEY `ix_taquilla_fecha` (`taquilla`, `fecha`, `numero`),
  KEY `ix_grupo_caballo` (`grupo`, `caballo`, `carrera`, `fecha`),
  KEY `ix_fecha_grupo` (`fecha`, `grupo`)
) ENGINE=InnoDB AUTO_INCREMENT=1000000000 DEFAULT CHARSET=latin1;

/* Earlier days' Marcas tickets: same columns as ma_marcas. */
CREATE TABLE `ventas_mk` (
  `numero` int(11) NOT NULL AUTO_INCREMENT,
  `carrera` int(11) NOT NULL DEFAULT 0,
  `caballo` int(11) NOT NULL DEFAULT 0,
  `caballo2` int(11) NOT NULL DEFAULT 0,
  `monto` double NOT NULL DEFAULT 0,
  `taquilla` varchar(45) NOT NULL DEFAULT '',
  `grupo` varchar(45) NOT NULL DEFAULT '',
  `hora` varchar(30) NOT NULL DEFAULT '',
  `fecha` date DEFAULT NULL,
  `cobrado` double NOT NULL DEFAULT 0,
  `fecha_cobro` varchar(10) NOT NULL DEFAULT '',
  `estatus` int(11) NOT NULL DEFAULT 0,
  `nu_boleto` varchar(25) NOT NULL DEFAULT '',
  `id_juego` int(11) NOT NULL DEFAULT 4,
  `id_moneda` int(11) NOT NULL DEFAULT 0,
  `id_hipodromo` int(11) NOT NULL DEFAULT 0,
  `combinacion` varchar(15) NOT NULL DEFAULT '',
  PRIMARY KEY (`numero`),
  KEY `ix_nu_boleto` (`nu_boleto`),
  KEY `ix_taquilla_fecha` (`taquilla`, `fecha`, `numero`),
  KEY `ix_fecha_grupo` (`fecha`, `grupo`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* Day totals of a closed day: one row per date, group, game and currency, as the sales summary
   reads them. Paying an archived ticket moves its prize inside the row of its date, group, game
   and currency. */
CREATE TABLE `ventas_general` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `fecha` date NOT NULL,
  `grupo` varchar(45) NOT NULL DEFAULT '',
  `id_juego` int(11) NOT NULL DEFAULT 0,
  `id_moneda` int(11) NOT NULL DEFAULT 1,
  `venta` double NOT NULL DEFAULT 0,
  `premios` double NOT NULL DEFAULT 0,
  `saldo` double NOT NULL DEFAULT 0,
  `monto_porpagar` double NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`),
  UNIQUE KEY `ux_fecha_grupo_juego_moneda` (`fecha`, `grupo`, `id_juego`, `id_moneda`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* The race card: one row per horse per race per day, in horse order (id_carrera). */
CREATE TABLE `carreras` (
  `id_carrera` int(11) NOT NULL AUTO_INCREMENT,
  `fecha` date DEFAULT NULL,
  `carrera` int(11) NOT NULL DEFAULT 0,
  `nu_caballo` int(11) NOT NULL DEFAULT 0,
  `caballo` varchar(45) NOT NULL DEFAULT '',
  `jinete` varchar(45) NOT NULL DEFAULT '',
  `valor_td` double NOT NULL DEFAULT 0,
  `valor_td2` double NOT NULL DEFAULT 0,
  `valor_tf` double NOT NULL DEFAULT 0,
  `valor_tf2` double NOT NULL DEFAULT 0,
  `puesto` double NOT NULL DEFAULT 0,
  `puesto2` double NOT NULL DEFAULT 0,
  `apuesta_max_td` double NOT NULL DEFAULT 0,
  `apuesta_max_td2` double NOT NULL DEFAULT 0,
  `apuesta_max_tf` double NOT NULL DEFAULT 0,
  `apuesta_max_tf2` double NOT NULL DEFAULT 0,
  `apuesta_max_pt` double NOT NULL DEFAULT 0,
  `apuesta_max_pt2` double NOT NULL DEFAULT 0,
  `apuesta_max_mk` double NOT NULL DEFAULT 0,
  `apuesta_max_mk2` double NOT NULL DEFAULT 0,
  `estado` int(11) NOT NULL DEFAULT 0,
  `estado_td2` int(11) NOT NULL DEFAULT 0,
  `estado2_td` int(11) NOT NULL DEFAULT 0,
  `estado_tf` int(11) NOT NULL DEFAULT 0,
  `estado_tf2` int(11) NOT NULL DEFAULT 0,
  `estado2_tf` int(11) NOT NULL DEFAULT 0,
  `estado_pt` int(11) NOT NULL DEFAULT 0,
  `estado_pt2` int(11) NOT NULL DEFAULT 0,
  `estado2_pt` int(11) NOT NULL DEFAULT 0,
  `estado_mk` int(11) NOT NULL DEFAULT 0,
  `estado_mk2` int(11) NOT NULL DEFAULT 0,
  `retirado` int(11) NOT NULL DEFAULT 0,
  `retirado2` int(11) NOT NULL DEFAULT 0,
  `retirado_tf` int(11) NOT NULL DEFAULT 0,
  `retirado_tf2` int(11) NOT NULL DEFAULT 0,
  `retirado_pt` int(11) NOT NULL DEFAULT 0,
  `retirado_pt2` int(11) NOT NULL DEFAULT 0,
  `ret_mk` int(11) NOT NULL DEFAULT 0,
  `ret_mk2` int(11) NOT NULL DEFAULT 0,
  `id_hipodromo` int(11) NOT NULL DEFAULT 0,
  `win` int(11) NOT NULL DEFAULT 0,
  `win_ganadores` int(11) NOT NULL DEFAULT 0,
  PRIMARY KEY (`id_carrera`),
  KEY `ix_carrera_fecha` (`carrera`, `fecha`, `id_hipodromo`),
  KEY `ix_fecha_carrera` (`fecha`, `carrera`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* The settings shared by every group: a single row (id 1).
   No column may be named like an unqualified column of the booth-totals statement that
   lists this table beside ma_principal (grupo, id_moneda). */
CREATE TABLE `configuracion` (
  `id` int(11) NOT NULL DEFAULT 1,
  `fecha` date DEFAULT NULL,
  `carrera` int(11) NOT NULL DEFAULT 1,
  `modificar` int(11) NOT NULL DEFAULT 0,
  `venta_pt` int(11) NOT NULL DEFAULT 0,
  `venta_mk` int(11) NOT NULL DEFAULT 0,
  `cab_max` int(11) NOT NULL DEFAULT 14,
  `dias` int(11) NOT NULL DEFAULT 3,
  `version` int(11) NOT NULL DEFAULT 28001,
  `vmt` int(11) NOT NULL DEFAULT 28001,
  `vmp` int(11) NOT NULL DEFAULT 28001,
  `vmg` int(11) NOT NULL DEFAULT 28001,
  `web` varchar(255) NOT NULL DEFAULT '',
  `mora` int(11) NOT NULL DEFAULT 0,
  `mensaje` varchar(255) NOT NULL DEFAULT '',
  `mcobro` varchar(255) NOT NULL DEFAULT '',
  `empresa` varchar(100) NOT NULL DEFAULT '',
  `rif` varchar(30) NOT NULL DEFAULT '',
  `impresion_datos` int(11) NOT NULL DEFAULT 0,
  `pantalla1` int(11) NOT NULL DEFAULT 1,
  `pantalla2` int(11) NOT NULL DEFAULT 1,
  `tipopantalla` int(11) NOT NULL DEFAULT 0,
  `juego` varchar(60) NOT NULL DEFAULT '',
  `juego1` int(11) NOT NULL DEFAULT 1,
  `juego2` int(11) NOT NULL DEFAULT 1,
  `juego3` int(11) NOT NULL DEFAULT 1,
  `multimoneda` int(11) NOT NULL DEFAULT 0,
  `dolar_activado` int(11) NOT NULL DEFAULT 0,
  `nu_administrador` varchar(30) NOT NULL DEFAULT '',
  `nu_tecnico` varchar(30) NOT NULL DEFAULT '',
  `mensajetf` varchar(255) NOT NULL DEFAULT '',
  `mensajeclientes` varchar(255) NOT NULL DEFAULT '',
  `apuesta_max_td` double NOT NULL DEFAULT 0,
  `apuesta_max_tf` double NOT NULL DEFAULT 0,
  `cupo_td_opcion` int(11) NOT NULL DEFAULT 0,
  `cupo_tf_opcion` int(11) NOT NULL DEFAULT 0,
  `opcioncupopt` int(11) NOT NULL DEFAULT 0,
  `cupo_mk_opcion` int(11) NOT NULL DEFAULT 0,
  `cupo_pt` double NOT NULL DEFAULT 0,
  `min_vbs` double NOT NULL DEFAULT 0,
  `max_vdls` double NOT NULL DEFAULT 0,
  `cobroespecial` int(11) NOT NULL DEFAULT 0,
  `mostrartd` int(11) NOT NULL DEFAULT 1,
  `mostrartf` int(11) NOT NULL DEFAULT 1,
  `mostrar_pt` int(11) NOT NULL DEFAULT 1,
  `pantalla_td` int(11) NOT NULL DEFAULT 0,
  `pantalla_tf` int(11) NOT NULL DEFAULT 0,
  `por_td` double NOT NULL DEFAULT 0,
  `por_tablafija` double NOT NULL DEFAULT 0,
  `valor_tabladinamica` double NOT NULL DEFAULT 0,
  `valor_tabladinamica2` double NOT NULL DEFAULT 0,
  `valortablafija` double NOT NULL DEFAULT 0,
  `valortablafija2` double NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* Betting-shop groups and client groups (id_tipo 2). Listed in id_grupo order. */
CREATE TABLE `grupos` (
  `id_grupo` int(11) NOT NULL,
  `grupo` varchar(45) NOT NULL,
  `id_tipo` int(11) NOT NULL DEFAULT 1,
  `ch` varchar(60) NOT NULL DEFAULT '',
  `mensajech` varchar(255) NOT NULL DEFAULT '',
  `ticket_cobro` int(11) NOT NULL DEFAULT 0,
  `cupoviptf` double NOT NULL DEFAULT 0,
  `name_empresa` varchar(100) NOT NULL DEFAULT '',
  `rif_empresa` varchar(30) NOT NULL DEFAULT '',
  `direccion_empresa` varchar(150) NOT NULL DEFAULT '',
  `tlf_empresa` varchar(30) NOT NULL DEFAULT '',
  `mostrar_tf` int(11) NOT NULL DEFAULT 1,
  `mostrar_pt` int(11) NOT NULL DEFAULT 1,
  PRIMARY KEY (`id_grupo`),
  UNIQUE KEY `ux_grupo` (`grupo`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* Users. clave is the password scrambled with the users' key. */
CREATE TABLE `usuarios` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `usuario` varchar(45) NOT NULL,
  `clave` varbinary(100) NOT NULL DEFAULT '',
  `nombre` varchar(60) NOT NULL DEFAULT '',
  `nivel` varchar(30) NOT NULL DEFAULT '',
  `grupo` varchar(45) NOT NULL DEFAULT '',
  `estatus` varchar(15) NOT NULL DEFAULT 'Activo',
  `mac` varchar(45) NOT NULL DEFAULT '',
  `fecha_ingreso` date DEFAULT NULL,
  `hora_ingreso` varchar(30) NOT NULL DEFAULT '',
  `ip_pc` varchar(45) NOT NULL DEFAULT '',
  `version` int(11) NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`),
  UNIQUE KEY `ux_usuario` (`usuario`),
  KEY `ix_grupo` (`grupo`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* Per-group (ch = group code), per-currency limits per horse: tablas for TD and TF,
   money for PT and Marcas. */
CREATE TABLE `venta_cupo_td` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `ch` varchar(45) NOT NULL DEFAULT '',
  `id_moneda` int(11) NOT NULL DEFAULT 1,
  `cab1` double NOT NULL DEFAULT 0, `cab2` double NOT NULL DEFAULT 0, `cab3` double NOT NULL DEFAULT 0,
  `cab4` double NOT NULL DEFAULT 0, `cab5` double NOT NULL DEFAULT 0, `cab6` double NOT NULL DEFAULT 0,
  `cab7` double NOT NULL DEFAULT 0, `cab8` double NOT NULL DEFAULT 0, `cab9` double NOT NULL DEFAULT 0,
  `cab10` double NOT NULL DEFAULT 0, `cab11` double NOT NULL DEFAULT 0, `cab12` double NOT NULL DEFAULT 0,
  `cab13` double NOT NULL DEFAULT 0, `cab14` double NOT NULL DEFAULT 0, `cab15` double NOT NULL DEFAULT 0,
  `cab16` double NOT NULL DEFAULT 0, `cab17` double NOT NULL DEFAULT 0, `cab18` double NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`),
  UNIQUE KEY `ux_ch_moneda` (`ch`, `id_moneda`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE `venta_cupo_tf` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `ch` varchar(45) NOT NULL DEFAULT '',
  `id_moneda` int(11) NOT NULL DEFAULT 1,
  `cab1` double NOT NULL DEFAULT 0, `cab2` double NOT NULL DEFAULT 0, `cab3` double NOT NULL DEFAULT 0,
  `cab4` double NOT NULL DEFAULT 0, `cab5` double NOT NULL DEFAULT 0, `cab6` double NOT NULL DEFAULT 0,
  `cab7` double NOT NULL DEFAULT 0, `cab8` double NOT NULL DEFAULT 0, `cab9` double NOT NULL DEFAULT 0,
  `cab10` double NOT NULL DEFAULT 0, `cab11` double NOT NULL DEFAULT 0, `cab12` double NOT NULL DEFAULT 0,
  `cab13` double NOT NULL DEFAULT 0, `cab14` double NOT NULL DEFAULT 0, `cab15` double NOT NULL DEFAULT 0,
  `cab16` double NOT NULL DEFAULT 0, `cab17` double NOT NULL DEFAULT 0, `cab18` double NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`),
  UNIQUE KEY `ux_ch_moneda` (`ch`, `id_moneda`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE `venta_cupo_pt` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `ch` varchar(45) NOT NULL DEFAULT '',
  `id_moneda` int(11) NOT NULL DEFAULT 1,
  `cab1` double NOT NULL DEFAULT 0, `cab2` double NOT NULL DEFAULT 0, `cab3` double NOT NULL DEFAULT 0,
  `cab4` double NOT NULL DEFAULT 0, `cab5` double NOT NULL DEFAULT 0, `cab6` double NOT NULL DEFAULT 0,
  `cab7` double NOT NULL DEFAULT 0, `cab8` double NOT NULL DEFAULT 0, `cab9` double NOT NULL DEFAULT 0,
  `cab10` double NOT NULL DEFAULT 0, `cab11` double NOT NULL DEFAULT 0, `cab12` double NOT NULL DEFAULT 0,
  `cab13` double NOT NULL DEFAULT 0, `cab14` double NOT NULL DEFAULT 0, `cab15` double NOT NULL DEFAULT 0,
  `cab16` double NOT NULL DEFAULT 0, `cab17` double NOT NULL DEFAULT 0, `cab18` double NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`),
  UNIQUE KEY `ux_ch_moneda` (`ch`, `id_moneda`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE `venta_cupo_mk` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `ch` varchar(45) NOT NULL DEFAULT '',
  `id_moneda` int(11) NOT NULL DEFAULT 1,
  `cab1` double NOT NULL DEFAULT 0, `cab2` double NOT NULL DEFAULT 0, `cab3` double NOT NULL DEFAULT 0,
  `cab4` double NOT NULL DEFAULT 0, `cab5` double NOT NULL DEFAULT 0, `cab6` double NOT NULL DEFAULT 0,
  `cab7` double NOT NULL DEFAULT 0, `cab8` double NOT NULL DEFAULT 0, `cab9` double NOT NULL DEFAULT 0,
  `cab10` double NOT NULL DEFAULT 0, `cab11` double NOT NULL DEFAULT 0, `cab12` double NOT NULL DEFAULT 0,
  `cab13` double NOT NULL DEFAULT 0, `cab14` double NOT NULL DEFAULT 0, `cab15` double NOT NULL DEFAULT 0,
  `cab16` double NOT NULL DEFAULT 0, `cab17` double NOT NULL DEFAULT 0, `cab18` double NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`),
  UNIQUE KEY `ux_ch_moneda` (`ch`, `id_moneda`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* The sales near a horse's per-group limit meet at the horse's row here: each writes it in the
   transaction of its re-check and its ticket, so one server makes them wait for each other and
   a cluster lets only one of two that meet on two nodes commit. */
CREATE TABLE `venta_cupo_turno` (
  `ch` varchar(45) NOT NULL DEFAULT '',
  `id_juego` int(11) NOT NULL DEFAULT 0,
  `id_moneda` int(11) NOT NULL DEFAULT 0,
  `carrera` int(11) NOT NULL DEFAULT 0,
  `caballo` int(11) NOT NULL DEFAULT 0,
  `ventas` int(11) NOT NULL DEFAULT 0,
  PRIMARY KEY (`ch`, `id_juego`, `id_moneda`, `carrera`, `caballo`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* Log of cancelled tickets of games 1 to 3 (estatus 5 = cancelled). */
CREATE TABLE `bitacora` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `numero` int(11) NOT NULL DEFAULT 0,
  `carrera` int(11) NOT NULL DEFAULT 0,
  `caballo` int(11) NOT NULL DEFAULT 0,
  `ganadores` double NOT NULL DEFAULT 0,
  `taquilla` varchar(45) NOT NULL DEFAULT '',
  `grupo` varchar(45) NOT NULL DEFAULT '',
  `hora` varchar(30) NOT NULL DEFAULT '',
  `fecha` date DEFAULT NULL,
  `estatus` int(11) NOT NULL DEFAULT 5,
  `nu_boleto` varchar(25) NOT NULL DEFAULT '',
  `cobrado` double NOT NULL DEFAULT 0,
  `motivo` varchar(255) NOT NULL DEFAULT '',
  `usuario` varchar(45) NOT NULL DEFAULT '',
  `tipo_motivo` varchar(45) NOT NULL DEFAULT '',
  `monto` double NOT NULL DEFAULT 0,
  `tablas` double NOT NULL DEFAULT 0,
  `puesto` double NOT NULL DEFAULT 0,
  `id_juego` int(11) NOT NULL DEFAULT 0,
  `id_moneda` int(11) NOT NULL DEFAULT 1,
  PRIMARY KEY (`id`),
  KEY `ix_fecha_taquilla` (`fecha`, `taquilla`),
  KEY `ix_fecha_grupo` (`fecha`, `grupo`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* Log of cancelled Marcas tickets. */
CREATE TABLE `bitacora_mk` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `numero` int(11) NOT NULL DEFAULT 0,
  `carrera` int(11) NOT NULL DEFAULT 0,
  `caballo` int(11) NOT NULL DEFAULT 0,
  `caballo2` int(11) NOT NULL DEFAULT 0,
  `ganadores` double NOT NULL DEFAULT 0,
  `taquilla` varchar(45) NOT NULL DEFAULT '',
  `grupo` varchar(45) NOT NULL DEFAULT '',
  `hora` varchar(30) NOT NULL DEFAULT '',
  `fecha` date DEFAULT NULL,
  `estatus` int(11) NOT NULL DEFAULT 5,
  `nu_boleto` varchar(25) NOT NULL DEFAULT '',
  `cobrado` double NOT NULL DEFAULT 0,
  `motivo` varchar(255) NOT NULL DEFAULT '',
  `usuario` varchar(45) NOT NULL DEFAULT '',
  `tipo_motivo` varchar(45) NOT NULL DEFAULT '',
  `monto` double NOT NULL DEFAULT 0,
  `tablas` double NOT NULL DEFAULT 0,
  `id_juego` int(11) NOT NULL DEFAULT 4,
  `id_moneda` int(11) NOT NULL DEFAULT 1,
  `id_hipodromo` int(11) NOT NULL DEFAULT 0,
  `combinacion` varchar(15) NOT NULL DEFAULT '',
  PRIMARY KEY (`id`),
  KEY `ix_fecha_taquilla` (`fecha`, `taquilla`),
  KEY `ix_fecha_grupo` (`fecha`, `grupo`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

/* Code tables: games, currencies (row 1 names currency 1, row 2 currency 2), racetracks. */
CREATE TABLE `juegos` (
  `id_juego` int(11) NOT NULL,
  `juego` varchar(45) NOT NULL DEFAULT '',
  PRIMARY KEY (`id_juego`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE `monedas` (
  `id_moneda` int(11) NOT NULL,
  `moneda` varchar(10) NOT NULL DEFAULT '',
  PRIMARY KEY (`id_moneda`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE `hipodromos` (
  `id_hipodromo` int(11) NOT NULL,
  `hipodromo` varchar(60) NOT NULL DEFAULT '',
  PRIMARY KEY (`id_hipodromo`)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;
