#pragma once

#include "catalogue/data/database.h"

// Three cassettes: 1 with a drama and a comedy, 2 with a drama of O'Neil's,
// 3 without recordings.
inline void FillBrowserFixture(Database& db)
{
    db.exec(QStringLiteral(
        "INSERT INTO tipus (az, nev) VALUES (1,'VHS'), (2,'S-VHS');"
        "INSERT INTO mufaj (az, nev) VALUES (1,'Dráma'), (2,'Vígjáték'), (3, NULL);"
        "INSERT INTO minoseg (az, nev) VALUES (1,'jó');"
        "INSERT INTO szereplo (az, nev) VALUES (1,'Kovács'), (2,'O''Neil');"
        "INSERT INTO vk (vk, azonosito, hossz, szabad, tipus) VALUES (1,'A1',180,60,1), (2,'B2',240,200,2),"
        " (3,'C3',120,120,1);"
        "INSERT INTO felvetel (vk, felvetel, cim, hossz, mufaj, minoseg, szereplok, rendezte, datum,"
        " szamlalo_tol, szamlalo_ig) VALUES"
        " (1,1,'Ábel',60,1,1,'KOVÁCS BÉLA, Nagy Éva','Fábri','2026-01-05','00:00:00','01:00:00'),"
        " (1,2,'abc',60,2,1,'Nagy Éva','Bacsó',NULL,'01:00:00','02:00:00'),"
        " (2,1,'Zebra',40,1,NULL,'O''Neil','Fábri Zoltán',NULL,'00:00:00','00:40:00');"));
}
