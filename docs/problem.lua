-- Counts the kills of each round and names the best player at its end
kills = {}

addhook("kill", "onKill")
function onKill(killer, victim, weapon, x, y)
	if killer ~= victim then
		kills[killer] = (kills[killer] or 0) + 1
	end
end

addhook("endrond", "onEndRound")
function onEndRound(mode)
	local best, most = 0, 0
	for id, count in pairs(kills) do
		if count > most then
			best, most = id, count
		end
	end
	if best > 0 then
		msg("\169255220000" .. player(best, "name") .. " made " .. most .. " kills!")
	end
	kills = {}
end
