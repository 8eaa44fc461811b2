IDH_OBZOR = obzor.htm IDH_NAPRYAZHENIE_SETI = napryazhenie_seti.htm IDH_VYHODNOE_NAPRYAZHENIE =
    vyhodnoe_napryazhenie.htm IDH_TOK_SVARKI = tok_svarki.htm IDH_SECHENIE_SERDECHNIKA =
        sechenie_serdechnika.htm IDH_TIP_SERDECHNIKA = tip_serdechnika.htm IDH_INDUKCIYA =
            indukciya.htm IDH_MENYU_FAJL = menyu_fajl.htm IDH_MENYU_POMOSHCH = menyu_pomoshch.htm
