-- Greets every player who joins, and reminds them of the rules
addhook("join", "onJoin")
function onJoin(id)
	local name = player(id, "name")
	msg("©255200000Welcome, " .. name .. "!")
	timer(2500, "rules", id, 1)
end

function rules(id)
	msg2(tonumber(id), "©000255000No spawn killing, please")
end
