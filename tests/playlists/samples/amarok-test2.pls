audio/x-scpls           pls
[playlist]
numberofentries=5
File1=http://85.214.44.27:8000
Title1=::darkerradio:: - DIE Alternative im Netz ::www.darkerradio.de:: Tune In, Turn On, Burn Out!
File2=http://217.20.121.40:8000
Title2=::darkerradio:: - DIE Alternative im Netz ::www.darkerradio.de:: Tune In, Turn On, Burn Out!
File3=http://85.214.44.27:8100
Title3=::darkerradio:: - DIE Alternative im Netz ::www.darkerradio.de:: Tune In, Turn On, Burn Out!
File4=http://85.214.44.27:8200
Title4=::darkerradio:: - DIE Alternative im Netz ::www.darkerradio.de:: Tune In, Turn On, Burn Out!
File5=../audio/PlätzΆντ覚 10.mp3
Title5=Test
