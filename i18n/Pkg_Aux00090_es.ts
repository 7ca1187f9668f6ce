<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>ControleSenhOper</name>
    <message>
        <source>O garçom não foi informado: a senha do operador não pode ser conferida.</source>
        <translation>No se indicó el mesero: no se puede verificar la contraseña del operador.</translation>
    </message>
    <message>
        <source>Leitura do operador do garçom</source>
        <translation>Lectura del operador del mesero</translation>
    </message>
    <message>
        <source>O garçom %1 não está cadastrado.</source>
        <translation>El mesero %1 no está registrado.</translation>
    </message>
    <message>
        <source>O garçom %1 não tem operador associado.</source>
        <translation>El mesero %1 no tiene operador asociado.</translation>
    </message>
    <message>
        <source>O operador %1 do garçom %2 não está cadastrado.</source>
        <translation>El operador %1 del mesero %2 no está registrado.</translation>
    </message>
    <message>
        <source>O operador %1 - %2 está inativo.</source>
        <translation>El operador %1 - %2 está inactivo.</translation>
    </message>
    <message>
        <source>O operador %1 - %2 não tem senha cadastrada.</source>
        <translation>El operador %1 - %2 no tiene contraseña registrada.</translation>
    </message>
    <message>
        <source>%1 (operador %2 - %3)</source>
        <translation>%1 (operador %2 - %3)</translation>
    </message>
    <message>
        <source>Senha do Operador</source>
        <translation>Contraseña del operador</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Confirmar</source>
        <translation>Confirmar</translation>
    </message>
    <message>
        <source>Digite a senha.</source>
        <translation>Digite la contraseña.</translation>
    </message>
    <message>
        <source>Senha incorreta. As %1 tentativas se esgotaram.</source>
        <translation>Contraseña incorrecta. Se agotaron los %1 intentos.</translation>
    </message>
    <message>
        <source>Senha incorreta. Tentativa %1 de %2.</source>
        <translation>Contraseña incorrecta. Intento %1 de %2.</translation>
    </message>
    <message>
        <source>A senha cadastrada do operador está num formato desconhecido.</source>
        <translation>La contraseña registrada del operador tiene un formato desconocido.</translation>
    </message>
</context>
<context>
    <name>CriaCadConsumidor</name>
    <message>
        <source>Cadastro de Consumidor</source>
        <translation>Registro de cliente</translation>
    </message>
    <message>
        <source>Selecione o cliente</source>
        <translation>Elija la empresa</translation>
    </message>
    <message>
        <source>Cliente</source>
        <translation>Empresa</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Código</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Crachá</source>
        <translation>Gafete</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Salvar</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Leitura dos clientes</source>
        <translation>Lectura de las empresas</translation>
    </message>
    <message>
        <source>Leitura do consumidor</source>
        <translation>Lectura del cliente</translation>
    </message>
    <message>
        <source>Alterar Consumidor</source>
        <translation>Modificar cliente</translation>
    </message>
    <message>
        <source>Selecione o cliente do consumidor.</source>
        <translation>Elija la empresa del cliente.</translation>
    </message>
    <message>
        <source>Informe o código do consumidor.</source>
        <translation>Indique el código del cliente.</translation>
    </message>
    <message>
        <source>Informe o nome do consumidor.</source>
        <translation>Indique el nombre del cliente.</translation>
    </message>
    <message>
        <source>O CPF deve ter %1 dígitos.</source>
        <translation>El CPF debe tener %1 dígitos.</translation>
    </message>
    <message>
        <source>Gravação do consumidor</source>
        <translation>Grabación del cliente</translation>
    </message>
    <message>
        <source>O consumidor %1 não existe mais no cliente %2.</source>
        <translation>El cliente %1 ya no existe en la empresa %2.</translation>
    </message>
    <message>
        <source>Já existe o consumidor %1 no cliente %2. Informe outro código.</source>
        <translation>Ya existe el cliente %1 en la empresa %2. Indique otro código.</translation>
    </message>
</context>
<context>
    <name>PesqConsumidor</name>
    <message>
        <source>Pesquisa de Consumidor</source>
        <translation>Búsqueda de cliente</translation>
    </message>
    <message>
        <source>Nome, código, crachá ou CPF</source>
        <translation>Nombre, código, gafete o CPF</translation>
    </message>
    <message>
        <source>Buscar</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Digite o que procura e toque em Buscar.</source>
        <translation>Escriba lo que busca y toque Buscar.</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Selecionar</source>
        <translation>Elegir</translation>
    </message>
    <message>
        <source>Informe o nome, o código, o crachá ou o CPF do consumidor.</source>
        <translation>Indique el nombre, el código, el gafete o el CPF del cliente.</translation>
    </message>
    <message>
        <source>Pesquisa de consumidores</source>
        <translation>Búsqueda de clientes</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Código</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Crachá</source>
        <translation>Gafete</translation>
    </message>
    <message>
        <source>CPF</source>
        <translation>CPF</translation>
    </message>
    <message>
        <source>Cliente</source>
        <translation>Empresa</translation>
    </message>
    <message>
        <source>Nenhum consumidor encontrado.</source>
        <translation>No se encontró ningún cliente.</translation>
    </message>
    <message>
        <source>1 consumidor encontrado.</source>
        <translation>1 cliente encontrado.</translation>
    </message>
    <message>
        <source>%1 consumidores encontrados.</source>
        <translation>%1 clientes encontrados.</translation>
    </message>
    <message>
        <source>Escolha um consumidor da lista.</source>
        <translation>Elija un cliente de la lista.</translation>
    </message>
    <message>
        <source>Busque o consumidor primeiro.</source>
        <translation>Primero busque el cliente.</translation>
    </message>
</context>
<context>
    <name>Pesquisa</name>
    <message>
        <source>Pesquisa</source>
        <translation>Búsqueda</translation>
    </message>
    <message>
        <source>Filtrar:</source>
        <translation>Filtrar:</translation>
    </message>
    <message>
        <source>Digite parte de qualquer coluna</source>
        <translation>Escriba parte de cualquier columna</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Selecionar</source>
        <translation>Elegir</translation>
    </message>
    <message>
        <source>Nenhum registro encontrado.</source>
        <translation>No se encontró ningún registro.</translation>
    </message>
    <message>
        <source>1 registro</source>
        <translation>1 registro</translation>
    </message>
    <message>
        <source>%1 registros</source>
        <translation>%1 registros</translation>
    </message>
    <message>
        <source>Escolha um registro da lista.</source>
        <translation>Elija un registro de la lista.</translation>
    </message>
    <message>
        <source>O registro escolhido não pôde ser posicionado.</source>
        <translation>No se pudo ubicar el registro elegido.</translation>
    </message>
</context>
<context>
    <name>Pkg_Aux00090</name>
    <message>
        <source>Conexão com o banco de dados</source>
        <translation>Conexión con la base de datos</translation>
    </message>
    <message>
        <source>O parâmetro %1 não recebeu valor.</source>
        <translation>El parámetro %1 no recibió valor.</translation>
    </message>
</context>
<context>
    <name>RelFiscais</name>
    <message>
        <source>Relatórios Fiscais</source>
        <translation>Informes fiscales</translation>
    </message>
    <message>
        <source>Leitura X</source>
        <translation>Lectura X</translation>
    </message>
    <message>
        <source>Redução Z</source>
        <translation>Reducción Z</translation>
    </message>
    <message>
        <source>Leitura da Memória Fiscal</source>
        <translation>Lectura de la memoria fiscal</translation>
    </message>
    <message>
        <source>%1: a impressora fiscal deste terminal é simulada; nenhum relatório foi emitido.</source>
        <translation>%1: la impresora fiscal de esta terminal es simulada; no se emitió ningún informe.</translation>
    </message>
    <message>
        <source>Fechar</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>TecladoNumerico</name>
    <message>
        <source>Teclado</source>
        <translation>Teclado</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Confirmar</source>
        <translation>Confirmar</translation>
    </message>
    <message>
        <source>Informe o código.</source>
        <translation>Indique el código.</translation>
    </message>
</context>
<context>
    <name>TouchDialog</name>
    <message>
        <source>Erro inesperado.</source>
        <translation>Error inesperado.</translation>
    </message>
    <message>
        <source>A janela não pode ser aberta: o programa não tem interface gráfica.</source>
        <translation>No se puede abrir la ventana: el programa no tiene interfaz gráfica.</translation>
    </message>
    <message>
        <source>Limpar</source>
        <translation>Limpiar</translation>
    </message>
    <message>
        <source>Apagar</source>
        <translation>Borrar</translation>
    </message>
</context>
</TS>
