addhook("joni", "onJoin")
function onJoin(id, a, b) end
zm = { onhit = function() end }
addhook("hit", "zm.onhit")
timer(1000, "tick", "", 2)
