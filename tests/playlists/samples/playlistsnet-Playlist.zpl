<?zpl version="2.0"?>
<smil>
  <head>
    <guid>{DAFEF239-50AF-4527-8B24-F67E8DB1E15E}</guid>
    <meta name="Generator" content="Entertainment Platform -- 10.16092.1031.0" />
    <meta name="ItemCount" content="41" />
    <meta name="totalDuration" content="7586973" />
    <title>Eurowizja</title>
  </head>
  <body>
    <seq>
      <media src="D:\Muzyka\Eurowizja\Eurowizja 2014\Can-linn &amp; Kasey Smith - Heartbeat(Irlandia).mp3"  trackTitle="Heartbeat" trackArtist="Can-linn &amp; Kasey Smith" duration="185364" />
      <media src="D:\Muzyka\Eurowizja\Eurowizja 2014\Elaiza - Is It Right.mp3" albumTitle="Eurovision Song Contest 2014" albumArtist="Elaiza" trackTitle="Is It Right" trackArtist="Elaiza" />
    </seq>
  </body>
</smil>